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
const std::string kDrawing = "Flansch_\303\23040.dxf";                  // Flansch_Ø40.dxf
const std::string kCharted = "Flansch_\303\23040 mit Lochtabelle.dxf";  // Flansch_Ø40 mit ...
const std::string kTable = "L\303\266cher.csv";                         // Löcher.csv
const std::string kExchange = "Flansch_\342\214\20040.fad";             // Flansch_⌀40.fad
const std::string kPicture = "Flansch_\342\214\20040.svg";              // Flansch_⌀40.svg
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

bool starts_with(const std::string& text, const std::string& start) {
    return text.rfind(start, 0) == 0;
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
    std::string read(const std::string& name) const {
        return read_file(fs::u8path(in_folder(name)));
    }

    RunResult run(const char* program, const std::vector<std::string>& args) const {
        return testsupport::run_program(folder, program, args);
    }

    const std::string golden = read_file(kExamples / "plate-dxf" / "plate-chart.golden.dxf");
    const std::string plate = read_file(kExamples / "plate-dxf" / "plate.dxf");
    const fs::path user = fs::u8path("C:\\Users\\Jos\303\251");
    const fs::path folder = user / "Zeichnungen";
};

TEST_F(WindowsCompanions, PlateChartIsTheLinuxBuildsAndARerunReplacesIt) {
    write_file(folder / "plate.dxf", plate);
    const RunResult first =
        run(HOLECHART_DXF_BINARY,
            joined({"plate.dxf", "chart.dxf", "--table", "plate.csv"}, kPlateChart));
    ASSERT_EQ(first.exit_code, 0) << first.err;
    EXPECT_EQ(first.err, "holechart-dxf: 31 holes charted, text height 2.5\r\n");
    EXPECT_TRUE(read("chart.dxf") == golden);
    // Windows text with the byte order mark that Excel needs, by default.
    EXPECT_TRUE(starts_with(read("plate.csv"), kByteOrderMark + kTableStart));

    // Charted again in place: the earlier chart is replaced, not doubled
    // (only the new entities' handles differ). JSON has no mark, ever.
    const RunResult again =
        run(HOLECHART_DXF_BINARY,
            joined({"chart.dxf", "chart.dxf", "--force", "--bom", "--table", "plate.json"},
                   kPlateChart));
    ASSERT_EQ(again.exit_code, 0) << again.err;
    EXPECT_EQ(read("chart.dxf").size(), golden.size());
    EXPECT_EQ(count_of(read("chart.dxf"), "HOLECHART_CHART"), count_of(golden, "HOLECHART_CHART"));
    EXPECT_TRUE(starts_with(read("plate.json"), "[\r\n"));

    // A drawing with CR LF line ends gets the chart with CR LF.
    write_file(folder / "crlf.dxf", with_crlf(plate));
    const RunResult crlf =
        run(HOLECHART_DXF_BINARY,
            joined({"crlf.dxf", "crlf-chart.dxf", "--no-bom", "--table", "crlf.csv"}, kPlateChart));
    ASSERT_EQ(crlf.exit_code, 0) << crlf.err;
    EXPECT_TRUE(read("crlf-chart.dxf") == with_crlf(golden));
    EXPECT_TRUE(starts_with(read("crlf.csv"), kTableStart));
}

TEST_F(WindowsCompanions, NamesWithBlanksOutsideAsciiReachTheirFiles) {
    write_file(folder / fs::u8path(kDrawing), plate);
    write_file(folder / fs::u8path(kExchange), read_file(kExamples / "plate" / "Object.fad"));
    const RunResult dxf =
        run(HOLECHART_DXF_BINARY,
            joined({in_folder(kDrawing), in_folder(kCharted), "--table", in_folder(kTable)},
                   kPlateChart));
    ASSERT_EQ(dxf.exit_code, 0) << dxf.err;
    EXPECT_TRUE(read(kCharted) == golden);
    EXPECT_TRUE(starts_with(read(kTable), kByteOrderMark + kTableStart));

    // The table of the exchange file replaces the one beside it.
    write_file(fs::u8path(in_folder(kTable)), "earlier");
    const RunResult table = run(HOLECHART_TABLE_BINARY, {in_folder(kExchange), "--origin", "40",
                                                         "90", "-o", in_folder(kTable)});
    ASSERT_EQ(table.exit_code, 0) << table.err;
    EXPECT_TRUE(starts_with(read(kTable), kByteOrderMark + kTableStart));

    // The picture is titled with the drawing's name.
    const RunResult svg = run(FAD2SVG_BINARY, {in_folder(kExchange), "-o", kPicture});
    ASSERT_EQ(svg.exit_code, 0) << svg.err;
    EXPECT_NE(read(kPicture).find(kExchange), std::string::npos);

    // A message names a path in its own bytes, UTF-8.
    const std::string missing = in_folder("Fehlt_\342\214\200.fad");
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

}  // namespace
