// The typical run through the real binary: a drawing with lines, texts and
// two untagged circles, a chart under the window's top right corner, and the
// exact result file, worked out line by line from the layout rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/test_support.hpp"

using testsupport::run_holechart;
using testsupport::split_lines;
using testsupport::TempDrive;

namespace {

const char* kDrawing =
    "11 2B HOLES 7 ByL ByL CIRCLE 0 NO C 12.5 40 12.5 40 10 40 2.5 0 360\n"
    "12 2C 0 7 ByL ByL LINE 0 NO L 0 0 60 0\n"
    "13 2D 0 7 ByL ByL LINE 0 NO L 60 0 60 50\n"
    "14 2E TEXT 2 ByL ByL TEXT 0 NO T 5 5 3.5 0 BL Bracket\n"
    "15 2F HOLES 7 ByL ByL CIRCLE 0 NO C 32.5 40 32.5 40 30 40 2.5 0 360\n"
    "16 30 TEXT 2 ByL ByL MTEXT 0 NO T 5 -5 2.5 0 BL S235JR\n";

const std::vector<std::string> kArgs = {"100", "100", "200", "200", "0", "0"};

// Window (100, 100)-(200, 200), text height 2.5: one unit is one drawing
// unit, the column hangs from (200, 200) and is 70 wide.
std::vector<std::string> expected_chart(const std::string& layer_and_colour) {
    const std::string line = "0 0 " + layer_and_colour + " ByL ByL LINE 0 NO L ";
    const std::string text = "0 0 " + layer_and_colour + " ByL ByL TEXT 0 NO T ";
    return {
        // Header: top edge, the two cell separators 8 down, "NO", "X", "Y"
        // on the baseline 5.6 down.
        line + "200.000000000000 200.000000000000 130.000000000000 200.000000000000",
        line + "170.000000000000 200.000000000000 170.000000000000 192.000000000000",
        line + "140.000000000000 200.000000000000 140.000000000000 192.000000000000",
        text + "132.300000000000 194.400000000000 2.500000000000 0.000000000000 BL NO",
        text + "153.800000000000 194.400000000000 2.500000000000 0.000000000000 BL X",
        text + "183.800000000000 194.400000000000 2.500000000000 0.000000000000 BL Y",
        // The type block of one circle: 14 high.
        line + "200.000000000000 192.000000000000 130.000000000000 192.000000000000",
        line + "200.000000000000 178.000000000000 130.000000000000 178.000000000000",
        // Row 1, the left circle.
        line + "200.000000000000 170.000000000000 130.000000000000 170.000000000000",
        line + "140.000000000000 178.000000000000 140.000000000000 170.000000000000",
        line + "170.000000000000 178.000000000000 170.000000000000 170.000000000000",
        text + "132.000000000000 172.400000000000 2.500000000000 0.000000000000 BL 1",
        text + "155.000000000000 172.400000000000 2.500000000000 0.000000000000 BC 10.000",
        text + "185.000000000000 172.400000000000 2.500000000000 0.000000000000 BC 40.000",
        text + "10.000000000000 40.000000000000 2.500000000000 0.000000000000 MC 1",
        // Row 2, the right circle.
        line + "200.000000000000 162.000000000000 130.000000000000 162.000000000000",
        line + "140.000000000000 170.000000000000 140.000000000000 162.000000000000",
        line + "170.000000000000 170.000000000000 170.000000000000 162.000000000000",
        text + "132.000000000000 164.400000000000 2.500000000000 0.000000000000 BL 2",
        text + "155.000000000000 164.400000000000 2.500000000000 0.000000000000 BC 30.000",
        text + "185.000000000000 164.400000000000 2.500000000000 0.000000000000 BC 40.000",
        text + "30.000000000000 40.000000000000 2.500000000000 0.000000000000 MC 2",
        // Count text and label, 5 under the block's top.
        text + "131.000000000000 187.000000000000 2.500000000000 0.000000000000 BL 2)",
        text + "140.000000000000 187.000000000000 2.500000000000 0.000000000000 BL %%C5.000",
        // The column's outer lines down to the last row.
        line + "200.000000000000 200.000000000000 200.000000000000 162.000000000000",
        line + "130.000000000000 200.000000000000 130.000000000000 162.000000000000",
    };
}

TEST(TypicalRun, WritesTheExactChartOfTwoCircles) {
    TempDrive drive;
    drive.write_settings("1 Layer7 5 N 2.5\n");
    drive.write_entities(kDrawing);
    const auto run = run_holechart(drive, kArgs);
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(drive.seen_messages(), "");
    ASSERT_TRUE(drive.has_result());

    const std::string result = drive.result();
    ASSERT_FALSE(result.empty());
    EXPECT_EQ(result.back(), '\n');
    const std::vector<std::string> lines = split_lines(result);
    const std::vector<std::string> expected = expected_chart("HoleChart 3");
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(lines[i], expected[i]) << "line " << i + 1;
    }
    // The input is left as it was.
    EXPECT_EQ(testsupport::read_file(drive.work / "Object.fad"), kDrawing);
}

TEST(TypicalRun, LayerModesOtherThanOneMoveEveryRecordToTheSettingsLayer) {
    for (const char* settings : {"0 Holes_Table 5 N 2.5\n", "2 Holes_Table 5 N 2.5\n"}) {
        TempDrive drive;
        drive.write_settings(settings);
        drive.write_entities(kDrawing);
        const auto run = run_holechart(drive, kArgs);
        EXPECT_EQ(run.exit_code, 0);
        EXPECT_EQ(split_lines(drive.result()), expected_chart("Holes_Table 5")) << settings;
    }
}

TEST(TypicalRun, ColourZeroFromTheSettingsIsWrittenAsOne) {
    TempDrive drive;
    drive.write_settings("0 Holes_Table 0 N 2.5\n");
    drive.write_entities(kDrawing);
    run_holechart(drive, kArgs);
    EXPECT_EQ(split_lines(drive.result()), expected_chart("Holes_Table 1"));
}

TEST(TypicalRun, WindowGivenCornerFirstAndOriginShiftGiveTheSameChartElsewhere) {
    // x2 < x1 puts the right edge at x1; y2 < y1 swaps them. The origin at
    // (10, 40) makes the left circle (0, 0) and the right one (20, 0).
    TempDrive drive;
    drive.write_settings("1 Layer7 5 Y 2.5\n");
    drive.write_entities(kDrawing);
    run_holechart(drive, {"200", "200", "100", "100", "10", "40"});
    const std::vector<std::string> lines = split_lines(drive.result());
    std::vector<std::string> expected = expected_chart("HoleChart 3");
    const std::string text = "0 0 HoleChart 3 ByL ByL TEXT 0 NO T ";
    expected[12] =
        text + "155.000000000000 172.400000000000 2.500000000000 0.000000000000 BC 0.000";
    expected[13] =
        text + "185.000000000000 172.400000000000 2.500000000000 0.000000000000 BC 0.000";
    expected[19] =
        text + "155.000000000000 164.400000000000 2.500000000000 0.000000000000 BC 20.000";
    expected[20] =
        text + "185.000000000000 164.400000000000 2.500000000000 0.000000000000 BC 0.000";
    EXPECT_EQ(lines, expected);
}

TEST(TypicalRun, EntityNumberZeroOnTheFirstHoleStillLeadsWithTheHeader) {
    TempDrive drive;
    drive.write_settings("1 Layer7 5 N 2.5\n");
    std::string drawing = kDrawing;
    drawing.replace(0, 2, "0");
    drive.write_entities(drawing);
    run_holechart(drive, kArgs);
    EXPECT_EQ(split_lines(drive.result()), expected_chart("HoleChart 3"));
}

TEST(TypicalRun, TypeCodeBeyondFourPrintsCoordinatesWithFourDecimals) {
    TempDrive drive;
    drive.write_settings("1 Layer7 5 N 2.5\n");
    std::string drawing = kDrawing;
    for (std::size_t at = drawing.find("CIRCLE 0 NO"); at != std::string::npos;
         at = drawing.find("CIRCLE 0 NO", at)) {
        drawing.replace(at, 11, "CIRCLE 0 5_0");
    }
    drive.write_entities(drawing);
    run_holechart(drive, kArgs);
    std::vector<std::string> expected = expected_chart("HoleChart 3");
    for (std::string& line : expected) {
        for (const char* value : {" 10.000", " 30.000", " 40.000", "%%C5.000"}) {
            const std::string tail = value;
            if (line.size() > tail.size() &&
                line.compare(line.size() - tail.size(), tail.size(), tail) == 0) {
                line += "0";
            }
        }
    }
    EXPECT_EQ(split_lines(drive.result()), expected);
}

}  // namespace
