// The result file as the front end sees it after a real run: its layer and
// colour with and without the override, that it reads back unchanged, and
// the report when it cannot be written.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "entity/entity_file.hpp"
#include "tests/support/front_end_run.hpp"
#include "tests/support/named_case.hpp"
#include "tests/support/test_support.hpp"

namespace fs = std::filesystem;
using namespace testsupport;

namespace {

struct LayerCase : testsupport::NamedCase {
    const char* settings;
    const char* layer;
    const char* color;
};

class ResultLayerTest : public ::testing::TestWithParam<LayerCase> {};

TEST_P(ResultLayerTest, EveryChartEntityCarriesTheLayerAndColour) {
    const LayerCase& c = GetParam();
    TempDrive drive;
    drive.write_settings(c.settings);
    drive.write_entities(kOneCircle);
    const auto run = run_holechart(drive, kSixNumbers);
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(drive.seen_messages(), "");
    ASSERT_TRUE(drive.has_result());
    EXPECT_TRUE(leftover_temporaries(drive.work / "ResultDR.fad").empty());

    const std::vector<std::string> lines = split_lines(drive.result());
    ASSERT_FALSE(lines.empty());
    int texts = 0;
    for (const std::string& line : lines) {
        SCOPED_TRACE(line);
        const std::vector<std::string> t = split_words(line);
        ASSERT_GE(t.size(), 10u);
        EXPECT_EQ(t[2], c.layer);
        EXPECT_EQ(t[3], c.color);
        EXPECT_TRUE(t[6] == "LINE" || t[6] == "TEXT");
        texts += t[6] == "TEXT" ? 1 : 0;
    }
    EXPECT_GT(texts, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ResultLayerTest,
    ::testing::Values(LayerCase{"ModeOneKeepsChartLayer", "1 Custom 5 N 2.5\n", "HoleChart", "3"},
                      LayerCase{"ModeZeroOverrides", "0 Custom 5 N 2.5\n", "Custom", "5"},
                      LayerCase{"ModeTwoOverrides", "2 Custom 5 N 2.5\n", "Custom", "5"},
                      // The override may set colour 0; the writer turns it into 1.
                      LayerCase{"OverrideColourZeroWrittenAsOne", "0 Custom 0 N 2.5\n", "Custom",
                                "1"}),
    [](const ::testing::TestParamInfo<LayerCase>& info) { return std::string(info.param.name); });

TEST(ResultFile, ReadsBackAndRewritesToTheSameBytes) {
    TempDrive drive;
    drive.write_settings("1 HoleChart 3 N 2.5\n");
    drive.write_entities(kOneCircle);
    ASSERT_EQ(run_holechart(drive, kSixNumbers).exit_code, 0);
    ASSERT_TRUE(drive.has_result());
    const std::string first = drive.result();
    const fs::path result = drive.work / "ResultDR.fad";

    EntityList list;
    int count = 0;
    ASSERT_TRUE(read_entity_file(result.string().c_str(), list, count));
    EXPECT_EQ(count, static_cast<int>(split_lines(first).size()));
    const fs::path again = drive.root / "again.fad";
    ASSERT_TRUE(write_entity_file(list, count, again.string().c_str()));
    EXPECT_EQ(read_file(again), first);
}

struct BlockedCase : testsupport::NamedCase {
    void (*block)(const fs::path& work);
};

class BlockedResultTest : public ::testing::TestWithParam<BlockedCase> {};

TEST_P(BlockedResultTest, ReportsTheFailureAndKeepsTheEarlierResult) {
    TempDrive drive;
    drive.write_settings("1 HoleChart 3 N 2.5\n");
    drive.write_entities(kOneCircle);
    write_file(drive.work / "ResultDR.fad", "earlier\n");
    GetParam().block(drive.work);
    const auto run = run_holechart(drive, kSixNumbers);
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(drive.seen_messages(), kCannotWrite);
    EXPECT_FALSE(fs::exists(drive.work / "message.dat"));
    EXPECT_EQ(drive.result(), "earlier\n");
    EXPECT_TRUE(leftover_temporaries(drive.work / "ResultDR.fad").empty());
}

INSTANTIATE_TEST_SUITE_P(Blocks, BlockedResultTest,
                         ::testing::Values(BlockedCase{
                             "ReadOnlyResult",
                             [](const fs::path& work) {
                                 fs::permissions(work / "ResultDR.fad", fs::perms::owner_read |
                                                                            fs::perms::group_read |
                                                                            fs::perms::others_read);
                             }}),
                         [](const ::testing::TestParamInfo<BlockedCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace

namespace {

TEST(ResultFile, FileSizeLimitIsReportedAndLeavesNoTruncatedResult) {
    TempDrive drive;
    drive.write_settings("1 HoleChart 3 N 2.5\n");
    drive.write_entities(kOneCircle);
    write_file(drive.work / "ResultDR.fad", "earlier\n");
    // A file size limit of 1 KiB fails the writes the way a full disk does.
    // Its signal would end the run at once; the tool ignores it itself.
    const auto run = run_holechart(drive, kSixNumbers, "ulimit -f 1;");
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(drive.seen_messages(), kCannotWrite);
    EXPECT_EQ(read_file(drive.work / "ResultDR.fad"), "earlier\n");
    EXPECT_TRUE(leftover_temporaries(drive.work / "ResultDR.fad").empty());
}

}  // namespace
