// The tool on Windows, run as the front end runs it: in the fixed folders
// C:\ZEP\work\ and C:\ZEP\Link\, through cmd.exe, with text files whose
// lines end in CR LF. scripts/test-windows.sh runs these under Wine in a
// throw-away prefix, so drive C: is a temporary folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/platform.hpp"
#include "tests/support/test_support.hpp"
#include "util/version.hpp"

namespace fs = std::filesystem;
using testsupport::leftover_temporaries;
using testsupport::read_file;
using testsupport::run_program;
using testsupport::split_words;
using testsupport::with_crlf;
using testsupport::write_file;

namespace {

const fs::path kExample = fs::path(HOLECHART_SOURCE_DIR) / "examples" / "plate";

class WindowsRun : public ::testing::Test {
  protected:
    void SetUp() override {
        paths = build_fixed_paths();
        work = fs::path(paths.work_folder).parent_path();
        link = fs::path(paths.link_folder).parent_path();
        zep = work.parent_path();
        clear_zep();
        fs::create_directories(work);
        fs::create_directories(link);
        fs::copy_file(CAPTURE_MSGBOX_BINARY, link / "info_msgbox.exe");
    }

    void TearDown() override { clear_zep(); }

    // A read-only file cannot be removed on Windows until it is writable.
    void clear_zep() {
        std::error_code ec;
        for (auto it = fs::recursive_directory_iterator(zep, ec);
             !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
            fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ec);
        }
        fs::remove_all(zep, ec);
    }

    // The example as a Windows front end writes it: text with CR LF.
    void write_example() {
        write_file(work / "Object.fad", with_crlf(read_file(kExample / "Object.fad")));
        write_file(work / "infoHoleTable.dat",
                   with_crlf(read_file(kExample / "infoHoleTable.dat")));
    }

    testsupport::RunResult run(const std::vector<std::string>& args) {
        return run_program(zep, HOLECHART_BINARY, args);
    }

    std::vector<std::string> example_args() const {
        return split_words(read_file(kExample / "arguments.txt"));
    }

    std::string seen() const {
        const fs::path path = work / "message.seen";
        return fs::exists(path) ? read_file(path) : std::string();
    }

    FixedPaths paths;
    fs::path work;
    fs::path link;
    fs::path zep;
};

TEST_F(WindowsRun, FoldersAreTheFixedOnesOnDriveC) {
    EXPECT_EQ(paths.work_folder, "C:\\ZEP\\work\\");
    EXPECT_EQ(paths.message_box_program, "C:\\ZEP\\Link\\info_msgbox.exe");
    EXPECT_EQ(paths.result_file, "C:\\ZEP\\work\\ResultDR.fad");
}

TEST_F(WindowsRun, ExampleGivesTheGoldenResultInTextMode) {
    write_example();
    // An earlier result is replaced.
    write_file(work / "ResultDR.fad", "earlier\r\n");
    const auto result = run(example_args());
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(seen(), "");
    EXPECT_EQ(read_file(work / "ResultDR.fad"),
              with_crlf(read_file(kExample / "ResultDR.golden.fad")));
    EXPECT_TRUE(leftover_temporaries(work / "ResultDR.fad").empty());
}

TEST_F(WindowsRun, ErrorReachesTheMessageBoxThroughCmdAsTextAndTheFileGoes) {
    const auto result = run(example_args());
    EXPECT_EQ(result.exit_code, 0);
    // The stand-in in the link folder showed it: nothing went to standard
    // error, so the tool started the program at its fixed path.
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(seen(), "[Error Code : 1109]\r\nFile not found...\r\n");
    EXPECT_FALSE(fs::exists(work / "message.dat"));
}

TEST_F(WindowsRun, ReadOnlyResultIsReportedAndKept) {
    write_example();
    write_file(work / "ResultDR.fad", "earlier\r\n");
    fs::permissions(work / "ResultDR.fad",
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const auto result = run(example_args());
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(seen(), "[Error Code : 1129]\r\nCannot write the result file...\r\n");
    EXPECT_EQ(read_file(work / "ResultDR.fad"), "earlier\r\n");
    EXPECT_TRUE(leftover_temporaries(work / "ResultDR.fad").empty());
}

TEST_F(WindowsRun, MissingMessageBoxSendsTheLinesToStandardError) {
    fs::remove(link / "info_msgbox.exe");
    const auto result = run({"1", "2"});
    EXPECT_EQ(result.exit_code, 0);
    // cmd.exe's own complaint about the program may come first.
    EXPECT_NE(result.err.find("[Error Code : 1109]\r\nFile not found...\r\n"), std::string::npos)
        << result.err;
    EXPECT_FALSE(fs::exists(work / "message.dat"));
}

TEST_F(WindowsRun, ShippedMessageBoxFallsBackToTheConsoleWithoutADesktop) {
    // With a desktop the box would wait for a click: scripts/test-windows.sh
    // runs Wine without a display and says so.
    const char* headless = std::getenv("HOLECHART_NO_DESKTOP");
    if (headless == nullptr || std::string(headless) != "1") {
        GTEST_SKIP() << "shows a real message box here";
    }
    fs::copy_file(INFO_MSGBOX_BINARY, link / "info_msgbox.exe",
                  fs::copy_options::overwrite_existing);
    const auto result = run({});
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.err, "[Error Code : 1109]\r\nFile not found...\r\n");
    EXPECT_FALSE(fs::exists(work / "message.dat"));
}

TEST_F(WindowsRun, ProgramInAFolderWithBlanksIsStartedThroughCmd) {
    const fs::path folder = zep / "Link with blanks & (parentheses)";
    fs::create_directories(folder);
    const fs::path program = folder / "info_msgbox.exe";
    fs::copy_file(CAPTURE_MSGBOX_BINARY, program);
    write_file(work / "message.dat", "first\r\nsecond\r\n");
    EXPECT_TRUE(run_program_and_wait(program.string()));
    EXPECT_EQ(seen(), "first\r\nsecond\r\n");
    EXPECT_FALSE(run_program_and_wait((folder / "missing.exe").string()));
}

TEST_F(WindowsRun, HoleTableEndsItsLinesAsWindowsText) {
    write_example();
    const std::vector<std::string> args = example_args();
    const auto table = run_program(
        zep, HOLECHART_TABLE_BINARY,
        {(work / "Object.fad").string(), "--settings", (work / "infoHoleTable.dat").string(),
         "--origin", args[4], args[5], "-o", (work / "holes.csv").string()});
    EXPECT_EQ(table.exit_code, 0) << table.err;
    // With the byte order mark that Excel needs to read it as UTF-8.
    const std::string csv = read_file(work / "holes.csv");
    EXPECT_EQ(csv.rfind("\xEF\xBB\xBFNo,X,Y,Type,Count,Description,Diameter,Depth,Thread,Side\r\n"
                        "1,50.000,105.000,1,6,M6_TAP,5.000,,M6,front\r\n",
                        0),
              0u)
        << csv;
}

TEST_F(WindowsRun, VersionAndHelpTouchNoFile) {
    clear_zep();
    const auto version = run_program(fs::temp_directory_path(), HOLECHART_BINARY, {"--version"});
    EXPECT_EQ(version.exit_code, 0);
    EXPECT_EQ(version.out, std::string("holechart ") + holechart_version() + "\r\n");
    const auto help = run_program(fs::temp_directory_path(), HOLECHART_BINARY, {"--help"});
    EXPECT_EQ(help.exit_code, 0);
    EXPECT_NE(help.out.find("C:\\ZEP\\work\\"), std::string::npos);
    EXPECT_FALSE(fs::exists(zep));
}

}  // namespace
