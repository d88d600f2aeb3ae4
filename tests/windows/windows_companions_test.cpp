// The companion programs on Windows: holechart-dxf.exe writes the Linux
// build's chart byte for byte, and every companion reaches files whose names
// hold blanks and characters outside ASCII, in a user's folder, as drafters
// name them. scripts/test-windows.sh runs these under Wine.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "tests/support/test_support.hpp"

namespace fs = std::filesystem;
using testsupport::read_file;
using testsupport::run_program;
using testsupport::RunResult;
using testsupport::with_crlf;
using testsupport::write_file;

namespace {

const fs::path kExamples = fs::path(HOLECHART_SOURCE_DIR) / "examples";
const std::string kByteOrderMark = "\xEF\xBB\xBF";
const std::string kTableStart =
    "No,X,Y,Type,Count,Description,Diameter,Depth,Thread,Side\r\n"
    "1,50.000,105.000,1,6,M6_TAP,5.000,,M6,front\r\n";
// Names as drafters give them: with blanks, with letters of a Western code
// page, and with the diameter sign, which the Western ANSI code page lacks.
const std::string kDrawing =
    "Flansch_\xC3\x98"
    "40.dxf";  // Flansch_Ø40.dxf
const std::string kCharted =
    "Flansch_\xC3\x98"
    "40 mit Lochtabelle.dxf";
const std::string kTable =
    "L\xC3\xB6"
    "cher.csv";  // Löcher.csv
const std::string kExchange =
    "Flansch_\xE2\x8C\x80"
    "40.fad";  // Flansch_⌀40.fad
const std::string kPicture =
    "Flansch_\xE2\x8C\x80"
    "40.svg";
// The window and origin of the plate's chart in examples/plate.
const std::vector<std::string> kPlateChart = {"--window", "255",      "62", "405",
                                              "280",      "--origin", "40", "90"};

std::vector<std::string> joined(std::vector<std::string> args,
                                const std::vector<std::string>& more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

std::size_t count_of(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

// C:\Users\José\Zeichnungen\, made afresh for each test and removed after it.
class WindowsCompanions : public ::testing::Test {
  protected:
    void SetUp() override {
        clear();
        fs::create_directories(folder);
    }
    void TearDown() override { clear(); }
    void clear() {
        std::error_code ec;
        fs::remove_all(user, ec);
    }

    // A name in the folder as the programs take it: UTF-8.
    std::string in_folder(const std::string& name) const {
        return (folder / fs::u8path(name)).u8string();
    }

    RunResult run(const char* program, const std::vector<std::string>& args) const {
        return run_program(folder, program, args);
    }

    const std::string golden = read_file(kExamples / "plate-dxf" / "plate-chart.golden.dxf");
    const fs::path user = fs::u8path("C:\\Users\\Jos\xC3\xA9");
    const fs::path folder = user / "Zeichnungen";
};

TEST_F(WindowsCompanions, PlateChartIsTheLinuxBuildsAndARerunReplacesIt) {
    write_file(folder / "plate.dxf", read_file(kExamples / "plate-dxf" / "plate.dxf"));
    const RunResult first = run(
        HOLECHART_DXF_BINARY,
        joined({"plate.dxf", "plate-chart.dxf"}, joined(kPlateChart, {"--table", "plate.csv"})));
    ASSERT_EQ(first.exit_code, 0) << first.err;
    EXPECT_EQ(first.err, "holechart-dxf: 31 holes charted, text height 2.5\r\n");
    EXPECT_TRUE(read_file(folder / "plate-chart.dxf") == golden);
    // The table as Windows text, with the byte order mark that Excel needs.
    EXPECT_EQ(read_file(folder / "plate.csv").rfind(kByteOrderMark + kTableStart, 0), 0u);

    // Charted again, in place: the earlier chart is replaced, not doubled
    // (only the new entities' handles differ).
    const RunResult again =
        run(HOLECHART_DXF_BINARY,
            joined({"plate-chart.dxf", "plate-chart.dxf", "--force"}, kPlateChart));
    ASSERT_EQ(again.exit_code, 0) << again.err;
    const std::string rerun = read_file(folder / "plate-chart.dxf");
    EXPECT_EQ(rerun.size(), golden.size());
    EXPECT_EQ(count_of(rerun, "HOLECHART_CHART"), count_of(golden, "HOLECHART_CHART"));
}

TEST_F(WindowsCompanions, DrawingWithCrLfGetsTheChartWithCrLf) {
    write_file(folder / "plate.dxf", with_crlf(read_file(kExamples / "plate-dxf" / "plate.dxf")));
    const RunResult charted =
        run(HOLECHART_DXF_BINARY, joined({"plate.dxf", "out.dxf"}, kPlateChart));
    ASSERT_EQ(charted.exit_code, 0) << charted.err;
    EXPECT_TRUE(read_file(folder / "out.dxf") == with_crlf(golden));
}

TEST_F(WindowsCompanions, NamesWithBlanksOutsideAsciiReachTheirFiles) {
    write_file(folder / fs::u8path(kDrawing), read_file(kExamples / "plate-dxf" / "plate.dxf"));
    write_file(folder / fs::u8path(kExchange), read_file(kExamples / "plate" / "Object.fad"));
    const std::string charted = in_folder(kCharted);
    const std::string table = in_folder(kTable);

    const RunResult dxf =
        run(HOLECHART_DXF_BINARY,
            joined({in_folder(kDrawing), charted, "--table", table}, kPlateChart));
    ASSERT_EQ(dxf.exit_code, 0) << dxf.err;
    EXPECT_TRUE(read_file(fs::u8path(charted)) == golden);
    EXPECT_EQ(read_file(fs::u8path(table)).rfind(kByteOrderMark + kTableStart, 0), 0u);

    // The table of the exchange file replaces the one beside it.
    const RunResult tab =
        run(HOLECHART_TABLE_BINARY, {in_folder(kExchange), "--origin", "40", "90", "-o", table});
    ASSERT_EQ(tab.exit_code, 0) << tab.err;
    EXPECT_EQ(read_file(fs::u8path(table)).rfind(kByteOrderMark + kTableStart, 0), 0u);

    // The picture is titled with the drawing's name.
    const RunResult svg = run(FAD2SVG_BINARY, {in_folder(kExchange), "-o", kPicture});
    ASSERT_EQ(svg.exit_code, 0) << svg.err;
    EXPECT_NE(read_file(folder / fs::u8path(kPicture)).find(kExchange), std::string::npos);

    // A message names a path in its own bytes, UTF-8.
    const std::string missing = in_folder("Fehlt_\xE2\x8C\x80.fad");
    const RunResult error = run(HOLECHART_TABLE_BINARY, {missing, "--origin", "0", "0"});
    EXPECT_EQ(error.exit_code, 1);
    EXPECT_NE(error.err.find("'" + missing + "'"), std::string::npos) << error.err;

    // Every file under its own name, none under a name of another code page.
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().u8string());
    }
    EXPECT_EQ(names, (std::set<std::string>{kDrawing, kCharted, kTable, kExchange, kPicture}));
}

TEST_F(WindowsCompanions, TablesHaveAByteOrderMarkUnlessToldOtherwise) {
    const std::string fad = (kExamples / "plate" / "Object.fad").u8string();
    const std::vector<std::string> origin = {"--origin", "40", "90"};
    EXPECT_EQ(
        run(HOLECHART_TABLE_BINARY, joined({fad, "--no-bom"}, origin)).out.rfind(kTableStart, 0),
        0u);
    EXPECT_EQ(run(HOLECHART_TABLE_BINARY, joined({fad, "--format", "json"}, origin))
                  .out.rfind("[\r\n", 0),
              0u);
}

}  // namespace
