// holechart-table, run as a user runs it: its table must be the chart's
// table, row for row, on the example and on random drawings, and its errors
// one line each with the companions' exit codes.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/test_support.hpp"
#include "tools/common/hole_table.hpp"

namespace fs = std::filesystem;
using companion::format_hole_table;
using companion::TableFormat;
using testsupport::read_file;
using testsupport::RunResult;
using testsupport::split_lines;
using testsupport::split_words;
using testsupport::TempDrive;
using testsupport::write_file;

namespace {

const fs::path kExample = fs::path(HOLECHART_SOURCE_DIR) / "examples" / "plate";

RunResult run_table(const fs::path& folder, const std::vector<std::string>& args) {
    return testsupport::run_program(folder, HOLECHART_TABLE_BINARY, args);
}

// Number, X text and Y text of every row the chart in a result file lists:
// a number justified "BL" followed by the two coordinate texts "BC".
using ChartRow = std::tuple<std::string, std::string, std::string>;

std::vector<ChartRow> chart_rows(const std::string& result) {
    std::vector<std::vector<std::string>> texts;
    for (const std::string& line : split_lines(result)) {
        const std::vector<std::string> t = split_words(line);
        if (t.size() == 16 && t[6] == "TEXT") {
            texts.push_back({t[14], t[15]});
        }
    }
    std::vector<ChartRow> rows;
    for (std::size_t i = 0; i + 2 < texts.size(); ++i) {
        const bool number =
            texts[i][0] == "BL" && texts[i][1].find_first_not_of("0123456789") == std::string::npos;
        if (number && texts[i + 1][0] == "BC" && texts[i + 2][0] == "BC") {
            rows.emplace_back(texts[i][1], texts[i + 1][1], texts[i + 2][1]);
        }
    }
    return rows;
}

// The table's cells, for tables whose cells need no quotes.
std::vector<std::vector<std::string>> cells_of(const std::string& table, char separator) {
    std::vector<std::vector<std::string>> rows;
    for (const std::string& line : split_lines(table)) {
        std::vector<std::string> cells;
        std::stringstream in(line);
        std::string cell;
        while (std::getline(in, cell, separator)) {
            cells.push_back(cell);
        }
        if (!line.empty() && line.back() == separator) {
            cells.push_back("");
        }
        rows.push_back(cells);
    }
    return rows;
}

std::vector<ChartRow> table_rows(const std::string& csv) {
    std::vector<ChartRow> rows;
    const auto cells = cells_of(csv, ',');
    for (std::size_t r = 1; r < cells.size(); ++r) {
        rows.emplace_back(cells[r][0], cells[r][1], cells[r][2]);
    }
    return rows;
}

TEST(HoleTable, ExampleTableIsTheChartsTable) {
    TempDrive drive;
    const std::vector<std::string> args = split_words(read_file(kExample / "arguments.txt"));
    const auto run = run_table(drive.root, {(kExample / "Object.fad").string(), "--settings",
                                            (kExample / "infoHoleTable.dat").string(), "--origin",
                                            args[4], args[5], "-o", "plate.csv"});
    ASSERT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(run.out + run.err, "");
    const std::string csv = read_file(drive.root / "plate.csv");
    EXPECT_EQ(table_rows(csv), chart_rows(read_file(kExample / "ResultDR.golden.fad")));

    const auto cells = cells_of(csv, ',');
    ASSERT_EQ(cells.size(), 32u);
    EXPECT_EQ(cells[0], (std::vector<std::string>{"No", "X", "Y", "Type", "Count", "Description",
                                                  "Diameter", "Depth", "Thread", "Side"}));
    // A tapped hole with its depth, a hidden hole, a counterbore.
    const std::vector<std::vector<std::string>> samples = {
        {"1", "50.000", "105.000", "1", "6", "M6_TAP", "5.000", "", "M6", "front"},
        {"11", "80.000", "95.000", "3", "4",
         "B_\xC3\x98"
         "5.000",
         "5.000", "", "", "back"},
    };
    for (const auto& sample : samples) {
        EXPECT_EQ(cells[static_cast<std::size_t>(std::stoi(sample[0]))], sample);
    }
    bool tapped_depth = false;
    bool counterbore = false;
    for (const auto& row : cells) {
        tapped_depth |= row[5] == "M8_X_16.0_TAP" && row[7] == "16.0" && row[8] == "M8";
        counterbore |= row[5] ==
                       "\xC3\x98"
                       "5.50 + \xC3\x98"
                       "9.50_X_5.40";
    }
    EXPECT_TRUE(tapped_depth);
    EXPECT_TRUE(counterbore);

    // The other forms hold the same rows.
    const auto tsv = run_table(drive.root, {(kExample / "Object.fad").string(), "--settings",
                                            (kExample / "infoHoleTable.dat").string(), "--origin",
                                            args[4], args[5], "--format", "tsv"});
    EXPECT_EQ(cells_of(tsv.out, '\t'), cells);
    const auto json = run_table(drive.root, {(kExample / "Object.fad").string(), "--settings",
                                             (kExample / "infoHoleTable.dat").string(), "--origin",
                                             args[4], args[5], "--format=json"});
    const std::vector<std::string> lines = split_lines(json.out);
    ASSERT_EQ(lines.size(), 33u);
    EXPECT_EQ(lines[1],
              "  {\"no\": 1, \"x\": 50.000, \"y\": 105.000, \"type\": 1, \"count\": 6, "
              "\"description\": \"M6_TAP\", \"diameter\": 5.000, \"depth\": null, \"thread\": "
              "\"M6\", \"side\": \"front\"},");
}

// Random drawings: holes on a loose grid with tolerance neighbours, tapped
// holes, counterbores, hidden holes and tags of every decimal count.
std::string random_drawing(std::mt19937& rng, int holes) {
    const char* tags[] = {"NO", "0", "1_5", "2", "3_12,5", "4", "5_0", "2_8"};
    const char* styles[] = {"ByL", "HIDDEN", "ISO_02"};
    const double radii[] = {2.5, 3.0, 3.0005, 4.25};
    std::uniform_int_distribution<int> pick(0, 1000);
    std::string text;
    int id = 1;
    auto circle = [&](double x, double y, double r, const char* tag, const char* style,
                      double sweep) {
        text += std::to_string(id++) + " A 0 7 ByL " + style + (sweep < 360 ? " ARC" : " CIRCLE") +
                " 0 " + tag + (sweep < 360 ? " A" : " C") + " 0 0 0 0 " + std::to_string(x) + " " +
                std::to_string(y) + " " + std::to_string(r) + " 0 " + std::to_string(sweep) + "\n";
    };
    for (int i = 0; i < holes; ++i) {
        const double x = (pick(rng) % 12) * 15.0 + (pick(rng) % 3) * 0.004;
        const double y = (pick(rng) % 8) * 12.0 + (pick(rng) % 3) * 0.005;
        const double r = radii[pick(rng) % 4];
        const char* tag = tags[pick(rng) % 8];
        circle(x, y, r, tag, styles[pick(rng) % 3], 360.0);
        switch (pick(rng) % 4) {
            case 0:  // a tapped hole
                circle(x, y, r * 1.2, tag, "ByL", 270.0 + pick(rng) % 20);
                break;
            case 1:  // a counterbore
                circle(x, y, r * 1.8, tag, "ByL", 360.0);
                break;
            default:
                break;
        }
    }
    return text;
}

TEST(HoleTable, EveryRowIsTheChartsRowOnRandomDrawings) {
    std::mt19937 rng(20261207u);
    for (int drawing = 0; drawing < 12; ++drawing) {
        TempDrive drive;
        const std::string settings = drawing % 2 == 0 ? "1 HoleChart 3 N 2.5\n" : "0 T 2 Y 1.8\n";
        drive.write_settings(settings);
        drive.write_entities(random_drawing(rng, 10 + drawing * 6));
        const std::vector<std::string> origin = {"12.5", "-7"};
        const auto chart =
            testsupport::run_holechart(drive, {"0", "0", "300", "200", origin[0], origin[1]});
        ASSERT_EQ(chart.exit_code, 0);
        ASSERT_TRUE(drive.has_result()) << drive.seen_messages();
        const auto table =
            run_table(drive.root, {(drive.work / "Object.fad").string(), "--settings",
                                   (drive.work / "infoHoleTable.dat").string(), "--origin",
                                   origin[0], origin[1]});
        ASSERT_EQ(table.exit_code, 0) << table.err;
        const std::vector<ChartRow> rows = chart_rows(drive.result());
        EXPECT_FALSE(rows.empty());
        EXPECT_EQ(table_rows(table.out), rows) << "drawing " << drawing;
    }
}

struct ErrorCase {
    const char* name;
    std::vector<std::string> args;
    int exit_code;
    const char* says;
};

TEST(HoleTable, ErrorsAreOneLineWithTheCompanionsExitCodes) {
    TempDrive drive;
    const std::string hole = "1 A 0 7 ByL ByL CIRCLE 0 NO C 0 0 0 0 10 40 2.5 0 360\n";
    write_file(drive.root / "good.fad", hole);
    write_file(drive.root / "nan.fad",
               hole + "2 A 0 7 ByL ByL CIRCLE 0 NO C 0 0 0 0 nan 40 2 0 360\n");
    write_file(drive.root / "lines.fad", "1 A 0 7 ByL ByL LINE 0 NO L 0 0 10 0\n");
    write_file(drive.root / "bad.dat", "one HoleChart 3 N 2.5\n");
    const ErrorCase cases[] = {
        {"missing drawing", {"none.fad", "--origin", "0", "0"}, 1, "'none.fad': No such file"},
        {"invalid settings",
         {"good.fad", "--settings", "bad.dat", "--origin", "0", "0"},
         1,
         "layer mode is not a number"},
        {"invalid hole values", {"nan.fad", "--origin", "0", "0"}, 1, "Invalid hole values"},
        {"no origin", {"good.fad"}, 2, "no origin given"},
        {"origin not a number", {"good.fad", "--origin", "nan", "0"}, 2, "finite numbers"},
        {"unknown format", {"good.fad", "--origin", "0", "0", "--format", "xls"}, 2, "csv, tsv"},
        {"output over the drawing",
         {"good.fad", "--origin", "0", "0", "-o", "good.fad"},
         2,
         "--force"},
    };
    for (const ErrorCase& c : cases) {
        const auto run = run_table(drive.root, c.args);
        EXPECT_EQ(run.exit_code, c.exit_code) << c.name;
        EXPECT_EQ(run.out, "") << c.name;
        EXPECT_EQ(split_lines(run.err).size(), 1u) << c.name << ": " << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.name << ": " << run.err;
    }
    EXPECT_EQ(read_file(drive.root / "good.fad"), hole);

    // A drawing without holes gives a table without rows, and says so.
    const auto empty = run_table(drive.root, {"lines.fad", "--origin", "0", "0"});
    EXPECT_EQ(empty.exit_code, 0);
    EXPECT_EQ(split_lines(empty.out).size(), 1u);
    EXPECT_NE(empty.err.find("no holes"), std::string::npos);
}

// A byte order mark where one is asked for, and only for CSV and TSV; none
// by default here (Windows builds have one by default: tests/windows).
TEST(HoleTable, ByteOrderMarkOnlyWhereAsked) {
    TempDrive drive;
    const std::string fad = (kExample / "Object.fad").string();
    const std::string dxf = (kExample.parent_path() / "plate-dxf" / "plate.dxf").string();
    const struct {
        const char* program;
        std::vector<std::string> args;
        std::string table;
        const char* starts;
    } cases[] = {
        {HOLECHART_TABLE_BINARY, {fad, "-o", "t.csv"}, "t.csv", "No,"},
        {HOLECHART_TABLE_BINARY, {fad, "--bom", "-o", "t.csv"}, "t.csv", "\xEF\xBB\xBFNo,"},
        {HOLECHART_TABLE_BINARY, {fad, "--format=tsv", "--bom"}, "-", "\xEF\xBB\xBFNo\t"},
        {HOLECHART_TABLE_BINARY, {fad, "--bom", "--no-bom"}, "-", "No,"},
        {HOLECHART_TABLE_BINARY, {fad, "--format=json", "--bom"}, "-", "[\n"},
        {HOLECHART_DXF_BINARY, {dxf, "o.dxf", "--table", "t.csv"}, "t.csv", "No,"},
        {HOLECHART_DXF_BINARY,
         {dxf, "o.dxf", "--table", "t.tsv", "--bom"},
         "t.tsv",
         "\xEF\xBB\xBFNo\t"},
        {HOLECHART_DXF_BINARY, {dxf, "o.dxf", "--bom", "--table", "t.json"}, "t.json", "[\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        if (c.program == std::string(HOLECHART_TABLE_BINARY)) {
            args.insert(args.end(), {"--origin", "0", "0"});
        }
        const auto run = testsupport::run_program(drive.root, c.program, args);
        ASSERT_EQ(run.exit_code, 0) << run.err;
        const std::string table = c.table == "-" ? run.out : read_file(drive.root / c.table);
        EXPECT_EQ(table.rfind(c.starts, 0), 0u) << c.program << " " << args[1] << " " << args[2];
    }
}

TEST(HoleTable, CellsAreQuotedAsSpreadsheetsReadThem) {
    ChartListing listing;
    ListedType type;
    type.row.circle_count = 1;
    type.row.hole_radius[0] = 2.5;
    type.row.type_code[0] = 1;
    type.labels = {"%%C5.0 \"deep\", %%P0.1", "%%D"};
    type.rows = 1;
    listing.types.push_back(type);
    listing.holes.push_back(ListedHole{1, 1, Point{}, "-1.5", "2.0"});
    const std::string csv = format_hole_table(listing, TableFormat::csv, false);
    EXPECT_NE(csv.find(",\"\xC3\x98"
                       "5.0 \"\"deep\"\", \xC2\xB1"
                       "0.1 + \xC2\xB0\",5.0,"),
              std::string::npos)
        << csv;
    const std::string json = format_hole_table(listing, TableFormat::json, false);
    EXPECT_NE(json.find("\"description\": \"\xC3\x98"
                        "5.0 \\\"deep\\\", \xC2\xB1"
                        "0.1 + "
                        "\xC2\xB0\""),
              std::string::npos)
        << json;
}

}  // namespace
