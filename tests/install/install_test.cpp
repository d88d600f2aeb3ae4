// What an installation holds: every program names the project's one version, and
// `cmake --install` puts each program, the stand-in message box, the man
// pages and the README where the packages expect them.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/platform.hpp"
#include "tests/support/test_support.hpp"
#include "util/version.hpp"

namespace {

using namespace testsupport;

struct Program {
    std::string name;
    std::string binary;
};

// The programs of this build.
std::vector<Program> programs_in(const fs::path& bin) {
    std::vector<Program> programs = {{"holechart", (bin / "holechart").string()},
                                     {"fad2svg", (bin / "fad2svg").string()},
                                     {"holechart-table", (bin / "holechart-table").string()}};
#ifdef HOLECHART_DXF_BINARY
    programs.push_back({"holechart-dxf", (bin / "holechart-dxf").string()});
#endif
    return programs;
}

void expect_version_line(const fs::path& folder, const Program& program) {
    const RunResult run = run_program(folder, program.binary, {"--version"});
    EXPECT_EQ(run.exit_code, 0) << program.binary;
    EXPECT_EQ(run.out, program.name + " " + holechart_version() + "\n") << program.binary;
    EXPECT_EQ(run.err, "") << program.binary;
}

std::vector<std::string> files_below(const fs::path& root) {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_directory()) {
            files.push_back(entry.path().lexically_relative(root).generic_string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(Install, CompanionsPrintTheProjectVersion) {
    TempDrive folder;
    expect_version_line(folder.root, {"fad2svg", FAD2SVG_BINARY});
#ifdef HOLECHART_DXF_BINARY
    expect_version_line(folder.root, {"holechart-dxf", HOLECHART_DXF_BINARY});
#endif
}

TEST(Install, InstallPutsEveryFileInItsPlaceAndTheProgramsRun) {
    TempDrive folder;
    const fs::path prefix = folder.root / "prefix";
    const RunResult install = run_program(
        folder.root, CMAKE_BINARY, {"--install", HOLECHART_BUILD_DIR, "--prefix", prefix.string()});
    ASSERT_EQ(install.exit_code, 0) << install.out << install.err;

    const std::string bin = INSTALL_BINDIR;
    const std::string man = std::string(INSTALL_MANDIR) + "/man1/";
    std::vector<std::string> expected = {std::string(INSTALL_HELPERDIR) + "/info_msgbox.exe",
                                         std::string(INSTALL_DOCDIR) + "/README.md"};
    for (const Program& program : programs_in(bin)) {
        expected.push_back(program.binary);
        expected.push_back(man + program.name + ".1");
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(files_below(prefix), expected);

    for (const Program& program : programs_in(prefix / bin)) {
        expect_version_line(folder.root, program);
    }

    // A drive folder set up from the installation gets a stand-in that runs.
    const fs::path drive = folder.root / "drive";
    const fs::path setup = fs::path(HOLECHART_SOURCE_DIR) / "scripts" / "setup-drive.sh";
    ASSERT_EQ(
        run_shell("bash " + quote_program_path(setup.string()) + " " +
                  quote_program_path(drive.string()) + " " + quote_program_path(prefix.string())),
        0);
    const RunResult msgbox =
        run_program(folder.root, (drive / "ZEP/Link/info_msgbox.exe").string(), {},
                    "HOLECHART_DRIVE_C=" + quote_program_path(drive.string()));
    EXPECT_EQ(msgbox.exit_code, 0);
    EXPECT_EQ(msgbox.err.rfind("info_msgbox: no message in ", 0), 0u) << msgbox.err;
}

}  // namespace
