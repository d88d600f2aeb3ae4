// The example drawing of a machined plate, run through the real binary as
// the front end runs it: the result must match the reviewed golden file byte
// for byte, and its hole marks must sit on the drawing's holes.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "driver/hole_chart_run.hpp"
#include "entity/entity_file.hpp"
#include "tests/support/test_support.hpp"

using testsupport::read_file;
using testsupport::run_holechart;
using testsupport::split_lines;
using testsupport::split_words;
using testsupport::TempDrive;

namespace {

const std::filesystem::path kExample =
    std::filesystem::path(HOLECHART_SOURCE_DIR) / "examples" / "plate";

std::string run_example(const TempDrive& drive) {
    drive.write_entities(read_file(kExample / "Object.fad"));
    drive.write_settings(read_file(kExample / "infoHoleTable.dat"));
    const std::vector<std::string> args = split_words(read_file(kExample / "arguments.txt"));
    EXPECT_EQ(args.size(), 6u);
    const auto run = run_holechart(drive, args);
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(drive.seen_messages(), "");
    return drive.has_result() ? drive.result() : std::string();
}

TEST(ExampleDrawing, ResultMatchesTheGoldenFileByteForByte) {
    TempDrive drive;
    const std::string result = run_example(drive);
    const std::string golden = read_file(kExample / "ResultDR.golden.fad");
    ASSERT_FALSE(golden.empty());
    if (result != golden) {
        // Point at the first differing line rather than dumping both files.
        const auto got = split_lines(result);
        const auto want = split_lines(golden);
        for (std::size_t i = 0; i < std::min(got.size(), want.size()); ++i) {
            ASSERT_EQ(got[i], want[i]) << "line " << i + 1;
        }
        ASSERT_EQ(got.size(), want.size());
    }
    EXPECT_EQ(result, golden);
}

// The run's core on the example's bytes, without files: the golden result,
// also from a chart computed into before (once with another drawing's
// error in between).
TEST(ExampleDrawing, CoreInMemoryGivesTheGoldenResult) {
    const std::string settings = read_file(kExample / "infoHoleTable.dat");
    const std::string drawing = read_file(kExample / "Object.fad");
    std::vector<std::string> args = split_words(read_file(kExample / "arguments.txt"));
    std::vector<char*> argv{const_cast<char*>("holechart")};
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    const int argc = static_cast<int>(argv.size());
    const std::string golden = read_file(kExample / "ResultDR.golden.fad");
    const RunInput settings_input{nullptr, MemoryFile{settings}};
    const RunInput drawing_input{nullptr, MemoryFile{drawing, 1000}};
    ComputedChart chart;
    for (int pass = 0; pass < 2; ++pass) {
        ASSERT_FALSE(compute_hole_chart(settings_input, drawing_input, argc, argv.data(), chart));
        ASSERT_TRUE(chart.charted);
        EXPECT_EQ(format_entity_records(chart.state.chart_list, chart.state.chart_count), golden);
        const std::string bad_hole = "1 1 0 7 ByL ByL CIRCLE 0 NO C 0 0 0 0 nan 0 2 0 360\n";
        EXPECT_TRUE(compute_hole_chart(settings_input, RunInput{nullptr, MemoryFile{bad_hole}},
                                       argc, argv.data(), chart));
        EXPECT_FALSE(chart.charted);
    }
}

// Independent of the golden file: every hole mark ("MC" text) stands on the
// centre of a circle or arc of the drawing, and every centre gets at least one.
TEST(ExampleDrawing, EveryHoleCentreIsNumberedOnce) {
    std::set<std::pair<double, double>> centres;
    for (const std::string& line : split_lines(read_file(kExample / "Object.fad"))) {
        const auto w = split_words(line);
        ASSERT_GE(w.size(), 10u);
        if (w[9] == "C" || (w[9] == "A" && w[6] == "ARC")) {
            // Head of ten tokens, then start, end, centre.
            centres.insert({std::stod(w[14]), std::stod(w[15])});
        }
    }
    EXPECT_GE(centres.size(), 30u);

    TempDrive drive;
    std::set<std::pair<double, double>> marked;
    int marks = 0;
    for (const std::string& line : split_lines(run_example(drive))) {
        const auto w = split_words(line);
        ASSERT_GE(w.size(), 14u);
        EXPECT_EQ(w[2], "HoleChart");
        EXPECT_EQ(w[3], "3");
        if (w[6] == "TEXT" && w[14] == "MC") {
            marked.insert({std::stod(w[10]), std::stod(w[11])});
            ++marks;
        }
    }
    EXPECT_EQ(marked, centres);
    EXPECT_EQ(marks, static_cast<int>(centres.size()));
}

// The front end reads the result back by tokens: every chart entity, labels
// of tapped holes with a depth included, must come back as its own record.
TEST(ExampleDrawing, ResultReadsBackRecordForRecord) {
    TempDrive drive;
    const std::string result = run_example(drive);
    ASSERT_FALSE(result.empty());
    const std::string path = (drive.work / "ResultDR.fad").string();
    EntityList list;
    int count = 0;
    ASSERT_TRUE(read_entity_file(path.c_str(), list, count));
    EXPECT_EQ(static_cast<std::size_t>(count), split_lines(result).size());
    const std::string again = (drive.work / "again.fad").string();
    ASSERT_TRUE(write_entity_file(list, count, again.c_str()));
    EXPECT_EQ(read_file(again), result);
}

}  // namespace
