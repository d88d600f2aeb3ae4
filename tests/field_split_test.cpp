// Field splitting, character replacement and the file probe. The splitter
// takes position keys apart, so its treatment of separator runs, tabs and
// the 255-character limit decides what the hole type table sees.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/test_support.hpp"
#include "util/field_split.hpp"
#include "util/file_probe.hpp"

using testsupport::TempDrive;
using testsupport::write_file;

namespace {

struct SplitCase {
    const char* name;
    std::string line;
    char separator;
    std::vector<std::string> fields;
};

void PrintTo(const SplitCase& c, std::ostream* os) {
    *os << c.name;
}

class SplitFieldsTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitFieldsTest, GivesFields) {
    const SplitCase& c = GetParam();
    const FieldList result = split_fields(c.line, c.separator);
    EXPECT_EQ(result.fields, c.fields);
    EXPECT_EQ(result.count, static_cast<int>(c.fields.size()));
}

const std::string k300(300, 'x');

INSTANTIATE_TEST_SUITE_P(
    Lines, SplitFieldsTest,
    ::testing::Values(
        SplitCase{"PositionKey",
                  "3_0_ByL_2.50000_360.00000",
                  '_',
                  {"3", "0", "ByL", "2.50000", "360.00000"}},
        SplitCase{"ShortKey", "7_ByL_2.50000_360.00000", '_', {"7", "ByL", "2.50000", "360.00000"}},
        SplitCase{"KeyList",
                  "3_0_ByL_2.50000_360.00000,5_ByL_1.00000_360.00000,",
                  ',',
                  {"3_0_ByL_2.50000_360.00000", "5_ByL_1.00000_360.00000"}},
        SplitCase{"RunOfSeparators", "a,,b", ',', {"a", "b"}},
        SplitCase{"LongRunOfSeparators", "a,,,,b,,", ',', {"a", "b"}},
        SplitCase{"SeparatorsAtBothEnds", ",a,", ',', {"a"}}, SplitCase{"Empty", "", ',', {}},
        SplitCase{"OnlySeparators", ",,,", ',', {}}, SplitCase{"OneSeparator", ",", ',', {}},
        SplitCase{"OneCharacter", "a", ',', {"a"}}, SplitCase{"NoSeparator", "abc", ',', {"abc"}},
        SplitCase{"TabSplitsAtBlank", "p q\tr", ' ', {"p", "q", "r"}},
        SplitCase{"TabsAndBlanksAtEnds", "\t p \t\tq\t", ' ', {"p", "q"}},
        SplitCase{"OnlyTabsAtBlank", "\t\t", ' ', {}},
        SplitCase{"TabStaysInsideField", "a\tb", ',', {"a\tb"}},
        SplitCase{"TabBeforeSeparator", "x\t,y", ',', {"x\t", "y"}},
        // The test copy holds no tabs, so a tab never separates.
        SplitCase{"TabAsSeparatorNeverSplits", "a\tb", '\t', {"a\tb"}},
        SplitCase{"NewlineIsOrdinary", "a\nb,c\n", ',', {"a\nb", "c\n"}},
        SplitCase{"NewlineAtBlank", "a b\n", ' ', {"a", "b\n"}},
        SplitCase{"StopsAtEmbeddedNul", std::string("a,b\0c,d", 7), ',', {"a", "b"}},
        SplitCase{"Over255Cut", k300, ',', {std::string(255, 'x')}},
        SplitCase{"Exactly255", std::string(255, 'y'), ',', {std::string(255, 'y')}},
        SplitCase{"SeparatorAfterLimitIgnored",
                  std::string(255, 'a') + ",b",
                  ',',
                  {std::string(255, 'a')}},
        SplitCase{
            "SeparatorAtLastPlace", std::string(254, 'a') + ",b", ',', {std::string(254, 'a')}},
        SplitCase{"FieldCutAtLimit",
                  std::string(250, 'x') + "," + std::string(10, 'y'),
                  ',',
                  {std::string(250, 'x'), "yyyy"}}),
    [](const ::testing::TestParamInfo<SplitCase>& info) { return info.param.name; });

TEST(ReplaceCharTest, ReplacesEveryOccurrenceWithinLimit) {
    struct Case {
        std::string text;
        char from, to;
        std::string expected;
    };
    const Case cases[] = {
        {"a\tb", '\t', ' ', "a b"},
        {"\t\tx\t", '\t', ' ', "  x "},
        {"abc", '\t', ' ', "abc"},
        {"", '\t', ' ', ""},
        {"a_b_c", '_', ',', "a,b,c"},
        {std::string(300, '\t'), '\t', ' ', std::string(255, ' ')},
        {std::string(200, 'a') + std::string(100, 'b'), 'b', 'c',
         std::string(200, 'a') + std::string(55, 'c')},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(replace_char(c.text, c.from, c.to), c.expected) << c.text.size();
    }
}

TEST(ProbeFileLinesTest, VerdictByContent) {
    TempDrive drive;
    const auto path = [&](const char* name) { return (drive.work / name).string(); };
    write_file(path("empty.txt"), "");
    write_file(path("newline.txt"), "\n");
    write_file(path("no_newline.txt"), "x");
    write_file(path("long_line.txt"), std::string(2000, 'z') + "\n");
    write_file(path("blank_lines.txt"), "\n\n\n");

    EXPECT_EQ(probe_file_lines(path("missing.txt").c_str()), 0);
    EXPECT_EQ(probe_file_lines(path("no_such_folder/x.txt").c_str()), 0);
    EXPECT_EQ(probe_file_lines(path("empty.txt").c_str()), -1);
    EXPECT_EQ(probe_file_lines(path("newline.txt").c_str()), 1);
    EXPECT_EQ(probe_file_lines(path("no_newline.txt").c_str()), 1);
    EXPECT_EQ(probe_file_lines(path("long_line.txt").c_str()), 1);
    EXPECT_EQ(probe_file_lines(path("blank_lines.txt").c_str()), 1);
}

TEST(ProbeFileLinesTest, FolderIsNoFile) {
    TempDrive drive;
    // A folder cannot be read as a file: the same verdict as a file that
    // cannot be opened, whether or not the system lets fopen succeed on it.
    EXPECT_EQ(probe_file_lines(drive.work.string().c_str()), 0);
}

}  // namespace
