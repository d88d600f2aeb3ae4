// The driver's checks, run through the real binary as the front end runs it:
// which report comes first, the exact bytes the user is shown, and what is
// left behind.
#include <gtest/gtest.h>

#include "platform/platform.hpp"
#include "tests/support/front_end_run.hpp"
#include "tests/support/named_case.hpp"
#include "tests/support/test_support.hpp"
#include "util/version.hpp"

using namespace testsupport;

namespace {

struct CheckCase : testsupport::NamedCase {
    bool settings_present;
    std::string settings;
    bool entities_present;
    std::string entities;
    std::vector<std::string> args;
    std::string expected_message;
};

class DriverCheckTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(DriverCheckTest, ReportsFirstFailingCheckOnly) {
    const CheckCase& c = GetParam();
    TempDrive drive;
    if (c.settings_present) {
        drive.write_settings(c.settings);
    }
    if (c.entities_present) {
        drive.write_entities(c.entities);
    }
    const auto run = run_holechart(drive, c.args);
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(drive.seen_messages(), c.expected_message);
    EXPECT_FALSE(std::filesystem::exists(drive.work / "message.dat"));
    EXPECT_FALSE(drive.has_result());
    EXPECT_EQ(run.out, "");
}

INSTANTIATE_TEST_SUITE_P(
    Checks, DriverCheckTest,
    ::testing::Values(
        CheckCase{"BothMissingNoArguments",
                  false,
                  "",
                  false,
                  "",
                  {},
                  "[Error Code : 1109]\nFile not found...\n"},
        CheckCase{"EmptySettings", true, "", true, kOneCircle, kSixNumbers,
                  "[Error Code : 1109]\nFile not found...\n"},
        CheckCase{"EntitiesMissing", true, kSettings, false, "", kSixNumbers,
                  "[Error Code : 1119]\nFile not found...\n"},
        CheckCase{"EmptyEntities",
                  true,
                  kSettings,
                  true,
                  "",
                  {},
                  "[Error Code : 1119]\nFile not found...\n"},
        CheckCase{"FiveNumbers",
                  true,
                  kSettings,
                  true,
                  kOneCircle,
                  {"100", "100", "200", "200", "0"},
                  "[Error Code : 2109]\nToo few arguments...\n"},
        CheckCase{"NoArguments",
                  true,
                  kSettings,
                  true,
                  kOneCircle,
                  {},
                  "[Error Code : 2109]\nToo few arguments...\n"},
        CheckCase{"TooFewSettingsValues", true, "1 HoleChart 3 N\n", true, kOneCircle, kSixNumbers,
                  "[Error Code : 1109]\nInvalid chart settings: fewer than five values...\n"},
        CheckCase{"ZeroTextHeight", true, "1 HoleChart 3 N 0\n", true, kOneCircle, kSixNumbers,
                  kBadTextHeight},
        CheckCase{"NegativeTextHeight", true, "1 HoleChart 3 N -2.5\n", true, kOneCircle,
                  kSixNumbers, kBadTextHeight},
        CheckCase{"InfiniteTextHeight", true, "1 HoleChart 3 N inf\n", true, kOneCircle,
                  kSixNumbers, kBadTextHeight},
        CheckCase{"SubnormalTextHeight", true, "1 HoleChart 3 N 1e-320\n", true, kOneCircle,
                  kSixNumbers, kBadTextHeight},
        CheckCase{"WordForTextHeight", true, "1 HoleChart 3 N big\n", true, kOneCircle, kSixNumbers,
                  kBadTextHeight},
        CheckCase{"WordForLayerMode", true, "one HoleChart 3 N 2.5\n", true, kOneCircle,
                  kSixNumbers,
                  "[Error Code : 1109]\nInvalid chart settings: layer mode is not a number...\n"},
        CheckCase{"NanArgument",
                  true,
                  kSettings,
                  true,
                  kOneCircle,
                  {"100", "nan", "200", "200", "0", "0"},
                  "[Error Code : 2119]\nInvalid arguments...\n"},
        CheckCase{"ArgumentBeyondDoubleRange",
                  true,
                  kSettings,
                  true,
                  kOneCircle,
                  {"100", "100", "200", "200", "1e999", "0"},
                  "[Error Code : 2119]\nInvalid arguments...\n"},
        CheckCase{"InfiniteHoleRadius", true, kSettings, true,
                  "1 A 0 7 ByL ByL CIRCLE 0 NO C 0 0 0 0 10 40 inf 0 360\n", kSixNumbers,
                  "[Error Code : 1139]\nInvalid hole values in drawing...\n"},
        CheckCase{"HoleCoordinateOverflowsAgainstOrigin",
                  true,
                  kSettings,
                  true,
                  "1 A 0 7 ByL ByL CIRCLE 0 NO C 0 0 0 0 1e308 40 2.5 0 360\n",
                  {"100", "100", "200", "200", "-1e308", "0"},
                  "[Error Code : 1139]\nInvalid hole values in drawing...\n"},
        CheckCase{"TextHeightOf1e308IsRefused", true, "1 HoleChart 3 N 1e308\n", true, kOneCircle,
                  kSixNumbers, kBadTextHeight},
        CheckCase{"WordForColour", true, "1 HoleChart green N 2.5\n", true, kOneCircle, kSixNumbers,
                  "[Error Code : 1109]\nInvalid chart settings: layer colour is not a "
                  "number...\n"}),
    [](const ::testing::TestParamInfo<CheckCase>& info) { return std::string(info.param.name); });

TEST(DriverRun, SettingsMayBeSpreadOverLinesAndExtraArgumentsAreIgnored) {
    TempDrive drive;
    drive.write_settings("1\nHoleChart\n3\nN\n2.5\n");
    drive.write_entities(kOneCircle);
    auto args = kSixNumbers;
    args.push_back("junk");
    const auto run = run_holechart(drive, args);
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(drive.seen_messages(), "");
    EXPECT_TRUE(drive.has_result());
}

TEST(DriverRun, NoHoleEndsSilentlyAndKeepsAnEarlierResult) {
    TempDrive drive;
    drive.write_settings(kSettings);
    drive.write_entities("1 A 0 7 ByL ByL LINE 0 NO L 0 0 10 0\n");
    testsupport::write_file(drive.work / "ResultDR.fad", "earlier\n");
    const auto run = run_holechart(drive, kSixNumbers);
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(drive.seen_messages(), "");
    EXPECT_EQ(drive.result(), "earlier\n");
}

TEST(DriverRun, FolderPathWithBlanksQuotesAndShellCharactersStillReports) {
    TempDrive drive(" with blank 'single' \"double\" $HOME;`true`&|");
    const auto run = run_holechart(drive, {});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(drive.seen_messages(), "[Error Code : 1109]\nFile not found...\n");
    EXPECT_EQ(run.err, "");
}

TEST(DriverRun, MissingMessageBoxProgramStillTellsTheUserOnStandardError) {
    TempDrive drive;
    std::filesystem::remove(drive.link / "info_msgbox.exe");
    const auto run = run_holechart(drive, {});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_NE(run.err.find("[Error Code : 1109]\nFile not found...\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(drive.work / "message.dat"));
}

TEST(DriverRun, UnwritableMessageFileStillTellsTheUserOnStandardError) {
    TempDrive drive;
    // A folder in the way of "message.dat" makes it impossible to create.
    std::filesystem::create_directory(drive.work / "message.dat");
    const auto run = run_holechart(drive, {});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.err, "[Error Code : 1109]\nFile not found...\n");
    EXPECT_EQ(drive.seen_messages(), "");
}

TEST(DriverRun, ShippedMessageBoxShowsBothLinesOnTheTerminal) {
    TempDrive drive;
    drive.install_shipped_msgbox();
    const auto run = run_holechart(drive, {});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.err, "[Error Code : 1109]\nFile not found...\n");
    EXPECT_EQ(run.out, "");
}

TEST(DriverRun, HelpAndVersionAloneAnswerWithoutAnyDriveFolder) {
    TempDrive drive;
    const std::filesystem::path absent = drive.root / "absent";
    const std::string no_drive = "HOLECHART_DRIVE_C=" + quote_program_path(absent.string());
    const auto help = run_program(drive.root, HOLECHART_BINARY, {"--help"}, no_drive);
    EXPECT_EQ(help.exit_code, 0);
    EXPECT_EQ(help.out.rfind("Usage: holechart X1 Y1 X2 Y2 ORIGIN_X ORIGIN_Y\n", 0), 0u);
    for (const std::string& part :
         {std::string("Object.fad"), std::string("infoHoleTable.dat"), std::string("ResultDR.fad"),
          std::string("HOLECHART_DRIVE_C"), (absent / "ZEP" / "work").string() + "/"}) {
        EXPECT_NE(help.out.find(part), std::string::npos) << part;
    }
    const auto version = run_program(drive.root, HOLECHART_BINARY, {"--version"}, no_drive);
    EXPECT_EQ(version.exit_code, 0);
    EXPECT_EQ(version.out, std::string("holechart ") + holechart_version() + "\n");
    EXPECT_EQ(help.err + version.err, "");
    EXPECT_FALSE(std::filesystem::exists(absent));
}

TEST(DriverRun, HelpWithMoreArgumentsIsARunAsBefore) {
    TempDrive drive;
    const auto run = run_holechart(drive, {"--help", "1"});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(drive.seen_messages(), "[Error Code : 1109]\nFile not found...\n");
}

}  // namespace
