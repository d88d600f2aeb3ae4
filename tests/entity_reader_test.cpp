// The entity file reader: how records are counted, how tokens land in the
// fields, what is derived, and how damaged files are taken.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "chart/hole_collection.hpp"
#include "entity/entity_file.hpp"
#include "entity/token_stream.hpp"
#include "tests/support/named_case.hpp"
#include "tests/support/record_fields.hpp"
#include "tests/support/test_support.hpp"

using testsupport::TempDrive;
using testsupport::write_file;

namespace {

struct Loaded {
    bool ok = false;
    int count = -1;
    EntityList list;
};

Loaded load(const std::string& bytes) {
    TempDrive drive;
    const auto path = drive.work / "Object.fad";
    write_file(path, bytes);
    Loaded result;
    result.count = 12345;
    result.ok = read_entity_file(path.string().c_str(), result.list, result.count);
    return result;
}

int64_t count_lines(const std::string& bytes) {
    TempDrive drive;
    const auto path = drive.work / "Object.fad";
    write_file(path, bytes);
    return count_entity_lines(path.string().c_str());
}

// The record's line as the writer gives it, without touching the record.
std::string line_of(EntityRecord record) {
    std::string out;
    format_entity_record(record, out);
    return out;
}

// A record that no token reached: the entity defaults, with the derived
// values of a zero-length line, which is horizontal (slope 0, intercept its
// y, angle 0): the defaults again.
void expect_defaulted_line(const EntityRecord& r) {
    testsupport::expect_fields(r, testsupport::entity_defaults());
}

const std::string kHead = "1 A 0 7 ByL ByL ";

// ---------------------------------------------------------------------------
// Record count

struct CountCase : testsupport::NamedCase {
    std::string bytes;
    int64_t records;
};

class CountLinesTest : public ::testing::TestWithParam<CountCase> {};

TEST_P(CountLinesTest, CountsReadsOfAtMost511Characters) {
    EXPECT_EQ(count_lines(GetParam().bytes), GetParam().records);
}

std::string x(std::size_t n) {
    return std::string(n, 'x');
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CountLinesTest,
    ::testing::Values(
        CountCase{"Empty", "", 0}, CountCase{"NoLineEnd", "abc", 1},
        CountCase{"OneLine", "abc\n", 1}, CountCase{"TwoLines", "a\nb\n", 2},
        CountCase{"LastLineWithoutEnd", "a\nb", 2}, CountCase{"BlankLines", "\n\n", 2},
        CountCase{"CrLfIsOneLineEnd", "a\r\nb\r\n", 2},
        CountCase{"LoneCrsDoNotEndLines", "a\rb\rc\r", 1}, CountCase{"CrBeforeCrLf", "a\r\r\n", 1},
        CountCase{"510CharsAndLf", x(510) + "\n", 1}, CountCase{"511CharsAndLf", x(511) + "\n", 2},
        CountCase{"510CharsAndCrLf", x(510) + "\r\n", 1},
        CountCase{"511CharsAndCrLf", x(511) + "\r\n", 2},
        CountCase{"LoneCrCountsAsACharacter", x(509) + "\ry\n", 2},
        CountCase{"LoneCrInShortLine", x(508) + "\ry\n", 1},
        CountCase{"1021CharsAndLf", x(1021) + "\n", 2},
        CountCase{"1022CharsAndLf", x(1022) + "\n", 3}, CountCase{"511CharsNoEnd", x(511), 1},
        CountCase{"512CharsNoEnd", x(512), 2}, CountCase{"TrailingLoneCr510", x(510) + "\r", 1},
        CountCase{"TrailingLoneCr511", x(511) + "\r", 2},
        CountCase{"LongLineThenShort", x(600) + "\nabc\n", 3}),
    [](const ::testing::TestParamInfo<CountCase>& info) { return std::string(info.param.name); });

TEST(CountLines, MissingFileIsMinusOne) {
    TempDrive drive;
    EXPECT_EQ(count_entity_lines((drive.work / "none.fad").string().c_str()), -1);
}

// ---------------------------------------------------------------------------
// Whole file

TEST(ReadEntityFile, MissingOrEmptyFileGivesFalseAndCountZero) {
    TempDrive drive;
    EntityList list;
    int count = 7;
    EXPECT_FALSE(read_entity_file((drive.work / "none.fad").string().c_str(), list, count));
    EXPECT_EQ(count, 0);

    const Loaded empty = load("");
    EXPECT_FALSE(empty.ok);
    EXPECT_EQ(empty.count, 0);
}

TEST(ReadEntityFile, ListHoldsCountPlusElevenRecordsAndTheRestAreDefaults) {
    const Loaded got = load(kHead + "LINE 0 NO L 1 2 3 4\n" + kHead + "LINE 0 NO L 5 6 7 8\n");
    ASSERT_TRUE(got.ok);
    ASSERT_EQ(got.count, 2);
    ASSERT_EQ(got.list.size(), 13u);
    EXPECT_EQ(got.list[1].p2.y, 8.0);
    for (std::size_t i = 2; i < got.list.size(); ++i) {
        SCOPED_TRACE(i);
        expect_defaulted_line(got.list[i]);
    }
}

TEST(ReadEntityFile, BlankLineShiftsRecordsAndLastOneStaysDefaulted) {
    const Loaded got =
        load(kHead + "LINE 0 NO L 1 2 3 4\n\n" + "2 B 0 7 ByL ByL LINE 0 NO L 5 6 7 8\n");
    ASSERT_TRUE(got.ok);
    ASSERT_EQ(got.count, 3);
    EXPECT_EQ(got.list[0].p2.y, 4.0);
    EXPECT_EQ(got.list[1].id, 2);
    EXPECT_STREQ(got.list[1].handle, "B");
    EXPECT_EQ(got.list[1].p1.x, 5.0);
    EXPECT_EQ(got.list[1].p2.y, 8.0);
    expect_defaulted_line(got.list[2]);
}

TEST(ReadEntityFile, OnlyABlankLineIsOneDefaultedRecord) {
    const Loaded got = load("\n");
    ASSERT_TRUE(got.ok);
    ASSERT_EQ(got.count, 1);
    expect_defaulted_line(got.list[0]);
}

TEST(ReadEntityFile, TokensEndingEarlyLeaveFieldsAtTheirDefaults) {
    const Loaded got = load(kHead + "LINE 0 NO L 1 2 3\n");
    ASSERT_TRUE(got.ok);
    ASSERT_EQ(got.count, 1);
    const EntityRecord& r = got.list[0];
    testsupport::expect_fields(r, "p1=1 2, p2=3 0");
    // The derived values follow the points as read: (1, 2) -> (3, 0).
    EXPECT_DOUBLE_EQ(r.slope, 1.0);
    EXPECT_DOUBLE_EQ(r.intercept, 3.0);
    EXPECT_DOUBLE_EQ(r.angle, 315.0);
}

TEST(ReadEntityFile, ShortLastLineFillsOnlyTheHeadFieldsItHas) {
    const Loaded got = load(kHead + "LINE 0 NO L 1 2 3 4\n2 B Walls\n");
    ASSERT_TRUE(got.ok);
    ASSERT_EQ(got.count, 2);
    EXPECT_EQ(got.list[0].p2.y, 4.0);
    testsupport::expect_fields(got.list[1],
                               "id=2, handle=B, layer=Walls, color=1, kind=LINE, shape=L, p1=0 0");
}

TEST(ReadEntityFile, LineLongerThan511CharactersCountsAsTwoRecords) {
    std::string line = kHead + "LINE 0 NO L 1 2 3 4";
    line += std::string(600 - line.size(), ' ');
    const Loaded got = load(line + "\n");
    ASSERT_TRUE(got.ok);
    ASSERT_EQ(got.count, 2);
    EXPECT_EQ(got.list[0].p2.y, 4.0);
    expect_defaulted_line(got.list[1]);
    EXPECT_EQ(got.list.size(), 13u);
}

TEST(ReadEntityFile, CrLfAndLfFilesReadTheSame) {
    const std::string lines[] = {
        kHead + "LINE 0 NO L 1 2 3 4",
        kHead + "TEXT 0 NO T 1 2 2.5 30 BL Hello",
        kHead + "ARC 0 NO A 0 0 0 0 10 40 2.5 350 10",
        kHead + "PLINE 0 NO A 1 0 0 1 0 0 0 0 1 0 90",
    };
    std::string lf;
    std::string crlf;
    for (const std::string& l : lines) {
        lf += l + "\n";
        crlf += l + "\r\n";
    }
    const Loaded a = load(lf);
    const Loaded b = load(crlf);
    ASSERT_TRUE(a.ok);
    ASSERT_TRUE(b.ok);
    ASSERT_EQ(a.count, 4);
    ASSERT_EQ(b.count, 4);
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(line_of(a.list[i]), line_of(b.list[i]));
        EXPECT_STREQ(b.list[i].text, a.list[i].text);
        EXPECT_EQ(b.list[i].sweep, a.list[i].sweep);
        EXPECT_EQ(b.list[i].slope, a.list[i].slope);
    }
    EXPECT_STREQ(b.list[1].text, "Hello");
    EXPECT_EQ(b.list[2].sweep, 20.0);
}

TEST(ReadEntityFile, CrOnlyLineEndsMakeOneRecordWithTokensStillSeparated) {
    const Loaded got = load(kHead + "LINE 0 NO L 1 2 3 4\r2 B 0 7 ByL ByL LINE 0 NO L 5 6 7 8\r");
    ASSERT_TRUE(got.ok);
    ASSERT_EQ(got.count, 1);
    EXPECT_EQ(got.list[0].p2.y, 4.0);
    // The second entity is never read.
    expect_defaulted_line(got.list[1]);
}

TEST(ReadEntityFile, TextWithABlankKeepsItsFirstWord) {
    const Loaded got = load(kHead + "TEXT 0 NO T 0 0 2.5 0 BL Two words\n");
    ASSERT_TRUE(got.ok);
    ASSERT_EQ(got.count, 1);
    EXPECT_STREQ(got.list[0].text, "Two");
}

TEST(ReadEntityFile, FileLargerThanOneReadChunkReadsEveryRecord) {
    // Enough records that tokens straddle the reader's chunk boundaries.
    constexpr int kRecords = 30000;
    std::string bytes;
    for (int i = 0; i < kRecords; ++i) {
        bytes += std::to_string(i) + " H" + std::to_string(i) + " Layer 2 ByL ByL LINE 0 NO L " +
                 std::to_string(i) + ".5 1 " + std::to_string(i) + ".5 2\n";
    }
    ASSERT_GT(bytes.size(), 1u << 20);
    const Loaded got = load(bytes);
    ASSERT_TRUE(got.ok);
    ASSERT_EQ(got.count, kRecords);
    int wrong = 0;
    for (int i = 0; i < kRecords; ++i) {
        const EntityRecord& r = got.list[static_cast<std::size_t>(i)];
        const std::string handle = "H" + std::to_string(i);
        if (r.id != i || handle != r.handle || r.p1.x != i + 0.5 || r.p2.y != 2.0 ||
            r.slope != 99999999.9) {
            ++wrong;
        }
    }
    EXPECT_EQ(wrong, 0);
}

// ---------------------------------------------------------------------------
// Single records

// The records read one after the other from a file holding the text, each
// starting from the given record.
std::vector<EntityRecord> read_records(const std::string& text, std::size_t count,
                                       const EntityRecord& start = EntityRecord{}) {
    std::FILE* file = std::tmpfile();
    EXPECT_NE(file, nullptr);
    std::fwrite(text.data(), 1, text.size(), file);
    std::rewind(file);
    TokenStream stream;
    token_stream_open(stream, file);
    std::vector<EntityRecord> records(count, start);
    for (EntityRecord& record : records) {
        read_entity_record(stream, record);
    }
    token_stream_close(stream);
    return records;
}

// A record read from the text alone, starting from the given record.
EntityRecord read_one(const std::string& text, const EntityRecord& start = EntityRecord{}) {
    return read_records(text, 1, start)[0];
}

TEST(ReadEntityRecord, FieldsLandInTheirMembers) {
    // Colour 0 stays: only the writer turns 0 into 1. A text's angle is read,
    // not derived.
    const std::pair<std::string, std::string> cases[] = {
        {"5 1A Dims 0 Cont Dash TEXT 1.5 T3 T 1 2 2.5 30 MC Hi",
         "id=5, handle=1A, layer=Dims, color=0, line_type=Cont, line_style=Dash, kind=TEXT, "
         "weight=1.5, tag=T3, shape=T, p1=1 2, text_height=2.5, angle=30, justify=MC, text=Hi"},
        {kHead + "POINT 0 NO P 3 4 35 0.5", "p1=3 4, point_mode=35, point_size=0.5"},
        {kHead + "PLINE 0 NO A 1 2 3 4 0.25 0.75 5 6 7 8 9",
         "p1=1 2, p2=3 4, seg_a=0.25, seg_b=0.75, center=5 6, radius=7, start_angle=8, "
         "end_angle=9, sweep=1"},
        {kHead + "DIMENSION 0 NO D 4 ISO-25 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 <>",
         "dim_type=4, dim_style=ISO-25, p1=1 2, p2=3 4, p4=5 6, p5=7 8, dim_box=9 10 11 12, "
         "p6=13 14, angle=15, text=<>"},
        {kHead + "SOLID 0 NO S 1 2 3 4 5 6 7 8", "p1=1 2, p2=3 4, center=5 6, p4=7 8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        testsupport::expect_fields(read_one(c.first), c.second);
    }
}

TEST(ReadEntityRecord, PolylineOfOtherShapeAndUnknownKindReadOnlyWhatTheyKnow) {
    EntityRecord r = read_one(kHead + "PLINE 0 NO X 1 2 3 4\n9");
    EXPECT_EQ(r.p1.x, 1.0);
    EXPECT_EQ(r.p1.y, 2.0);
    EXPECT_EQ(r.p2.x, 0.0);
    // An unknown kind reads its head only: the next record starts right after.
    const std::vector<EntityRecord> two =
        read_records(kHead + "HATCH 0 NO H\n2 B 0 5 ByL ByL LINE 0 NO L 1 2 3 4\n", 2);
    const EntityRecord& hatch = two[0];
    const EntityRecord& line = two[1];
    EXPECT_STREQ(hatch.kind, "HATCH");
    EXPECT_STREQ(hatch.shape, "H");
    EXPECT_EQ(line.id, 2);
    EXPECT_EQ(line.p2.y, 4.0);
}

TEST(ReadEntityRecord, MarksAreClearedButMark3Kept) {
    EntityRecord start;
    start.mark = 5;
    start.mark2 = 6;
    start.mark3 = 7;
    start.mark4 = 8;
    const EntityRecord r = read_one(kHead + "LINE 0 NO L 0 0 1 1", start);
    EXPECT_EQ(r.mark, 0);
    EXPECT_EQ(r.mark2, 0);
    EXPECT_EQ(r.mark3, 7);
    EXPECT_EQ(r.mark4, 0);
}

struct ArcCase : testsupport::NamedCase {
    const char* kind_and_shape;
    const char* start_text;
    const char* end_text;
    double expected_start;
    double expected_sweep;
};

class ArcSweepTest : public ::testing::TestWithParam<ArcCase> {};

TEST_P(ArcSweepTest, DerivesStartAndSweep) {
    const ArcCase& c = GetParam();
    const std::string text =
        kHead + c.kind_and_shape + " 0 0 0 0 0 0 2 " + c.start_text + " " + c.end_text;
    const EntityRecord r = read_one(text);
    EXPECT_EQ(r.start_angle, c.expected_start);
    EXPECT_NEAR(r.sweep, c.expected_sweep, 1e-12);
}

// Polyline segments carry seg_a and seg_b before the centre, so their text
// has two more numbers; the cases give the segment form explicitly.
INSTANTIATE_TEST_SUITE_P(
    Angles, ArcSweepTest,
    ::testing::Values(
        ArcCase{"StartAt360Wraps", "ARC 0 NO A", "360", "90", 0.0, 90.0},
        ArcCase{"StartJustBelow360Wraps", "ARC 0 NO A", "359.999999996", "90", 0.0, 90.0},
        ArcCase{"StartClearlyBelow360Stays", "ARC 0 NO A", "359.9999999", "90", 359.9999999,
                90.0000001},
        ArcCase{"EqualAnglesFullCircle", "ARC 0 NO A", "45", "45", 45.0, 360.0},
        ArcCase{"CircleZeroTo360", "CIRCLE 0 NO C", "0", "360", 0.0, 360.0},
        ArcCase{"AcrossZero", "ARC 0 NO A", "350", "10", 350.0, 20.0},
        ArcCase{"Reverse", "ARC 0 NO A", "10", "350", 10.0, 340.0},
        ArcCase{"TinyArcBecomesFullCircle", "ARC 0 NO A", "10", "10.00000005", 10.0, 360.0},
        ArcCase{"BelowSweepFloorFullCircle", "ARC 0 NO A", "10", "10.000000005", 10.0, 360.0},
        ArcCase{"SegmentKeepsTinySweep", "PLINE 0 NO A 0 0", "10", "10.00000005", 10.0, 5e-8},
        ArcCase{"SegmentBelowSweepFloor", "PLINE 0 NO C 0 0", "10", "10.000000005", 10.0, 360.0},
        ArcCase{"SegmentStartAt360Wraps", "PLINE 0 NO A 0 0", "360", "30", 0.0, 30.0}),
    [](const ::testing::TestParamInfo<ArcCase>& info) { return std::string(info.param.name); });

struct LineParamCase : testsupport::NamedCase {
    std::string text;
    double angle;
    double slope;
    double intercept;
};

class LineParamTest : public ::testing::TestWithParam<LineParamCase> {};

TEST_P(LineParamTest, DerivesAngleSlopeIntercept) {
    const EntityRecord r = read_one(GetParam().text);
    EXPECT_NEAR(r.angle, GetParam().angle, 1e-9);
    EXPECT_NEAR(r.slope, GetParam().slope, 1e-9);
    EXPECT_NEAR(r.intercept, GetParam().intercept, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, LineParamTest,
    ::testing::Values(
        LineParamCase{"HorizontalLine", kHead + "LINE 0 NO L 1 4 9 4", 0.0, 0.0, 4.0},
        LineParamCase{"HorizontalLineLeftwards", kHead + "LINE 0 NO L 9 4 1 4", 180.0, 0.0, 4.0},
        LineParamCase{"VerticalLine", kHead + "LINE 0 NO L 3 1 3 7", 90.0, 99999999.9, 3.0},
        LineParamCase{"SlopedLine", kHead + "LINE 0 NO L 0 1 1 3", 63.43494882292201, 2.0, 1.0},
        LineParamCase{"StraightSegment", kHead + "PLINE 0 NO L 3 7 3 1 0 0", 270.0, 99999999.9,
                      3.0},
        // Arcs take the parameters of the points as stored in the file.
        LineParamCase{"ArcFromItsFilePoints", kHead + "ARC 0 NO A 0 5 0 0 0 0 5 0 90", 270.0,
                      99999999.9, 0.0},
        LineParamCase{"ArcSegmentFromItsPoints", kHead + "PLINE 0 NO A 1 0 0 1 0 0 0 0 1 0 90",
                      135.0, 1.0, 1.0},
        // Other kinds derive nothing: a text keeps its read angle.
        LineParamCase{"TextKeepsItsAngle", kHead + "TEXT 0 NO T 0 0 2.5 33 BL t", 33.0, 0.0, 0.0},
        LineParamCase{"SolidDerivesNothing", kHead + "SOLID 0 NO S 0 0 1 1 2 2 3 3", 0.0, 0.0,
                      0.0}),
    [](const ::testing::TestParamInfo<LineParamCase>& info) {
        return std::string(info.param.name);
    });

TEST(ReadEntityRecord, OverlongTokensAreCutAndTheParseStaysInStep) {
    const std::string handle(30, 'h');
    const std::string layer(60, 'l');
    const std::string tag(80, 't');
    const std::string text(300, 'w');
    const EntityRecord r =
        read_one("9 " + handle + " " + layer + " 4 " + std::string(25, 'y') + " ByL TEXT 0 " + tag +
                 " TTTTTTT 1 2 2.5 0 " + std::string(40, 'j') + " " + text);
    EXPECT_EQ(r.id, 9);
    EXPECT_EQ(std::string(r.handle), handle.substr(0, 19));
    EXPECT_EQ(std::string(r.layer), layer.substr(0, 51));
    EXPECT_EQ(r.color, 4);
    EXPECT_EQ(std::string(r.line_type), std::string(19, 'y'));
    EXPECT_STREQ(r.line_style, "ByL");
    EXPECT_EQ(std::string(r.tag), tag.substr(0, 49));
    EXPECT_STREQ(r.shape, "TTTT");
    EXPECT_EQ(r.p1.y, 2.0);
    EXPECT_EQ(r.text_height, 2.5);
    EXPECT_EQ(std::string(r.justify), std::string(19, 'j'));
    EXPECT_EQ(std::string(r.text), text.substr(0, 260));

    // A kind cut to 15 characters is no known kind: its head alone is read.
    const EntityRecord odd = read_one(kHead + "LINELINELINELINE 0 NO L 1 2 3 4");
    EXPECT_STREQ(odd.kind, "LINELINELINELIN");
    EXPECT_EQ(odd.p1.x, 0.0);
}

TEST(ReadEntityRecord, TokenLongerThanTheReadBufferIsCut) {
    const std::string huge(3u << 20, 'q');
    const std::vector<EntityRecord> two = read_records(
        kHead + "TEXT 0 NO T 1 2 2.5 0 BL " + huge + "\n" + kHead + "LINE 0 NO L 1 2 3 4\n", 2);
    const EntityRecord& first = two[0];
    const EntityRecord& second = two[1];
    EXPECT_EQ(std::string(first.text), std::string(260, 'q'));
    EXPECT_STREQ(second.kind, "LINE");
    EXPECT_EQ(second.p2.y, 4.0);
}

TEST(ReadEntityRecord, WrongFormNumberTokensKeepDefaultsAndAreConsumed) {
    const EntityRecord r =
        read_one("abc H 0 12abc ByL ByL LINE heavy NO L x 2 3 4.5.6\n7 Next", EntityRecord{});
    EXPECT_EQ(r.id, 0);
    EXPECT_STREQ(r.handle, "H");
    EXPECT_EQ(r.color, 1);
    EXPECT_STREQ(r.kind, "LINE");
    EXPECT_EQ(r.weight, 0.0);
    EXPECT_STREQ(r.tag, "NO");
    EXPECT_EQ(r.p1.x, 0.0);
    EXPECT_EQ(r.p1.y, 2.0);
    EXPECT_EQ(r.p2.x, 3.0);
    EXPECT_EQ(r.p2.y, 0.0);

    const EntityRecord point = read_one(kHead + "POINT 0 NO P 1 2 3.5 0.25");
    EXPECT_EQ(point.point_mode, 0);  // "3.5" is not an integer
    EXPECT_EQ(point.point_size, 0.25);
}

struct IntCase {
    const char* token;
    int32_t expected;
};

TEST(ReadEntityRecord, IntegerTokens) {
    const IntCase cases[] = {
        {"42", 42},
        {"+7", 7},
        {"-3", -3},
        {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<int32_t>::min()},
        {"2147483648", 1},
        {"-2147483649", 1},
        {"99999999999", 1},
        {"0x10", 1},
        {"1e2", 1},
        {"7.0", 1},
        {"+-7", 1},
        {"-", 1},
    };
    for (const IntCase& c : cases) {
        SCOPED_TRACE(c.token);
        const EntityRecord r = read_one(std::string("1 A 0 ") + c.token + " ByL ByL LINE 0 NO L");
        EXPECT_EQ(r.color, c.expected);
        EXPECT_STREQ(r.line_type, "ByL");
    }
}

struct RealCase {
    const char* token;
    double expected;
};

TEST(ReadEntityRecord, RealTokensInEveryFormTheCConversionTakes) {
    const RealCase cases[] = {
        {"1e2", 100.0},      {"+3", 3.0},         {"0x10", 16.0},         {".5", 0.5},
        {"5.", 5.0},         {"-0.25", -0.25},    {"1E-3", 0.001},        {"0x1p-2", 0.25},
        {"0X1.8P1", 3.0},    {"+.5e1", 5.0},      {"007", 7.0},           {"-0", 0.0},
        {"1e400", HUGE_VAL}, {"-INF", -HUGE_VAL}, {"Infinity", HUGE_VAL},
    };
    for (const RealCase& c : cases) {
        SCOPED_TRACE(c.token);
        const EntityRecord r = read_one(kHead + "LINE 0 NO L " + c.token + " 9 8 7");
        EXPECT_EQ(r.p1.x, c.expected);
        EXPECT_EQ(r.p1.y, 9.0);
    }
    const EntityRecord nan_rec = read_one(kHead + "LINE 0 NO L nan 9 8 7");
    EXPECT_TRUE(std::isnan(nan_rec.p1.x));

    const char* bad[] = {"12abc", "1.2.3", "1e", "e5", "0x", "--1", "+", ".", "1,5"};
    for (const char* token : bad) {
        SCOPED_TRACE(token);
        const EntityRecord r = read_one(kHead + "LINE 0 NO L " + token + " 9 8 7");
        EXPECT_EQ(r.p1.x, 0.0);
        EXPECT_EQ(r.p1.y, 9.0);
        EXPECT_EQ(r.p2.y, 7.0);
    }
}

// ------------------------------------------- reading record by record
// The tool's one reader of this kind keeps the holes (read_hole_records).

// Every kind, each followed by a circle so that a body passed over with the
// wrong number of tokens shifts what comes after; then lines that end early,
// carry extra tokens, hold a token past the read buffer, end in CR LF, or
// run past the line count.
std::string keeping_cases() {
    const std::string circle = "9 C1 0 1 ByL ByL CIRCLE 0 2_5 C 1 0 1 0 0 0 1 0 360\n";
    const std::vector<std::string> bodies = {
        "1 A1 0 1 ByL ByL TEXT 0 NO T 1 2 3.5 0 BL Note\n",
        "1 A2 0 1 ByL ByL MTEXT 0 NO C 1 2 3.5 0 BL Hole_text\n",
        "1 A3 0 1 ByL ByL LINE 0 NO L 0 0 5 5\n",
        "1 A4 0 1 ByL ByL ARC 0 NO A 0 0 0 0 3 4 2 0 90\n",
        "1 A5 0 1 ByL ByL ARC 0 NO A 0 0 0 0 3 4 2 0 270\n",
        "1 A6 0 1 ByL ByL POINT 0 NO L 1 1 0 0.5\n",
        "1 A7 0 1 ByL ByL PLINE 0 NO L 0 0 1 1 0 0\n",
        "1 A8 0 1 ByL ByL PLINE 0 NO A 0 0 1 1 0 0 5 5 2 0 300\n",
        "1 A9 0 1 ByL ByL PLINE 0 NO C 0 0 1 1 0 0 5 5 2 0 360\n",
        "1 B1 0 1 ByL ByL PLINE 0 NO X 0 0\n",
        "1 B2 0 1 ByL ByL DIMENSION 0 NO L 1 ISO 0 0 1 1 2 2 3 3 0 0 1 1 4 4 0 <>\n",
        "1 B3 0 1 ByL ByL SOLID 0 NO C 0 0 1 0 0 1 1 1\n",
        "1 B4 0 1 ByL ByL HATCH 0 NO A\n",
        "1 B5 0 1 ByL ByL LINE 0 NO L 0 0\n",
        "1 B6 0 1 ByL ByL LINE 0 NO L 0 0 1 1 7 7\n",
        "1 B7 0 1 ByL ByL TEXT 0 NO T 0 0 2 0 BL " + std::string(70000, 'x') + "\n",
        "1 B8 0 1 ByL ByL ARC 0 NO C 1 1 1 1 4 4 1 10 20\r\n",
    };
    std::string file = "\xEF\xBB\xBF";
    for (const std::string& body : bodies) {
        file += body + circle;
    }
    return file + "9 Z1 0 1 ByL ByL CIRCLE 0 NO C 0 0 0 0 7 7 1 0 360 9 Z2 0 1 ByL ByL CIRCLE";
}

// Whether two records hold the same values, padding bytes aside: the line
// each is written as, and the values that the line leaves out or rounds.
bool same_values(const EntityRecord& a, const EntityRecord& b) {
    const double va[] = {a.center.x, a.center.y, a.radius,     a.start_angle, a.end_angle,
                         a.sweep,    a.angle,    a.point_size, a.slope,       a.intercept};
    const double vb[] = {b.center.x, b.center.y, b.radius,     b.start_angle, b.end_angle,
                         b.sweep,    b.angle,    b.point_size, b.slope,       b.intercept};
    return line_of(a) == line_of(b) && std::memcmp(va, vb, sizeof va) == 0;
}

TEST(ReadHoleRecords, KeepsExactlyTheHolesTheWholeReadWouldHoldInOrder) {
    TempDrive drive;
    const auto path = drive.work / "Object.fad";
    write_file(path, keeping_cases());
    EntityList all;
    int count = 0;
    ASSERT_TRUE(read_entity_file(path.string().c_str(), all, count));

    EntityList kept;
    int kept_count = -1;
    ASSERT_TRUE(read_hole_records(path.string().c_str(), kept, kept_count));
    std::vector<const EntityRecord*> expected;
    for (int i = 0; i < count; ++i) {
        if (is_hole(all[static_cast<std::size_t>(i)])) {
            expected.push_back(&all[static_cast<std::size_t>(i)]);
        }
    }
    ASSERT_EQ(kept_count, static_cast<int>(expected.size()));
    ASSERT_GT(kept_count, 15);
    for (std::size_t k = 0; k < expected.size(); ++k) {
        EXPECT_TRUE(same_values(kept[k], *expected[k]))
            << "kept record " << k << ": " << line_of(kept[k]) << " vs " << line_of(*expected[k]);
    }
    // The defaulted slot and the spare follow.
    ASSERT_EQ(kept.size(), expected.size() + 2);
    expect_defaulted_line(kept[expected.size()]);
}

TEST(ReadHoleRecords, MissingOrEmptyFileGivesFalseAndNothingKept) {
    TempDrive drive;
    write_file(drive.work / "empty.fad", "");
    for (const char* name : {"none.fad", "empty.fad"}) {
        EntityList kept;
        int kept_count = -1;
        EXPECT_FALSE(read_hole_records((drive.work / name).string().c_str(), kept, kept_count));
        EXPECT_EQ(kept_count, 0);
    }
}

}  // namespace
