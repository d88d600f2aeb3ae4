// The result writer and the layer override: the exact text of every kind,
// the arc and circle decisions, stable round trips through the reader, and
// a result file that is either fully replaced or left as it was.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "entity/entity_file.hpp"
#include "tests/support/named_case.hpp"
#include "tests/support/record_fields.hpp"
#include "tests/support/test_support.hpp"

namespace fs = std::filesystem;
using testsupport::leftover_temporaries;
using testsupport::read_file;
using testsupport::read_text_file;
using testsupport::split_lines;
using testsupport::split_words;
using testsupport::TempDrive;
using testsupport::write_file;

namespace {

std::string line_of(EntityRecord record) {
    std::string out;
    format_entity_record(record, out);
    return out;
}

struct Loaded {
    bool ok = false;
    int count = 0;
    EntityList list;
};

Loaded load_path(const fs::path& path) {
    Loaded result;
    result.ok = read_entity_file(path.string().c_str(), result.list, result.count);
    return result;
}

EntityRecord arc_record(const char* kind, const char* shape, double start, double sweep) {
    EntityRecord r;
    std::strcpy(r.kind, kind);
    std::strcpy(r.shape, shape);
    r.center = Point{0.0, 0.0};
    r.radius = 2.0;
    r.start_angle = start;
    r.sweep = sweep;
    r.end_angle = -1.0;  // stale on purpose: the writer recomputes it
    return r;
}

// ---------------------------------------------------------------------------
// Golden lines per kind

struct KindCase : testsupport::NamedCase {
    std::string input;
    std::string expected;
};

const std::vector<KindCase>& kind_cases() {
    static const std::vector<KindCase> cases = {
        {"Text", "5 1A Dims 7 ByL Dash TEXT 0 NO T 1.5 -2.25 2.5 90 MC %%C5.000",
         "5 1A Dims 7 ByL Dash TEXT 0 NO T 1.500000000000 -2.250000000000 2.500000000000 "
         "90.000000000000 MC %%C5.000\n"},
        {"MText", "6 2B 0 2 ByL ByL MTEXT 1 NO T 0 0 3.5 0 BL Note",
         "6 2B 0 2 ByL ByL MTEXT 1 NO T 0.000000000000 0.000000000000 3.500000000000 "
         "0.000000000000 BL Note\n"},
        {"ChartLine", "0 0 HoleChart 3 ByL ByL LINE 0 NO L 10 20 30 20",
         "0 0 HoleChart 3 ByL ByL LINE 0 NO L 10.000000000000 20.000000000000 30.000000000000 "
         "20.000000000000\n"},
        // The file's arc end points are replaced by the ones the centre,
        // radius and angles give.
        {"Arc", "7 3C 0 1 ByL ByL ARC 0 NO A 0 0 0 0 10 40 2.5 0 90",
         "7 3C 0 1 ByL ByL ARC 0 NO A 12.500000000000 40.000000000000 10.000000000000 "
         "42.500000000000 10.000000000000 40.000000000000 2.500000000000 0.000000000000 "
         "90.000000000000\n"},
        {"Circle", "1 A 0 7 ByL ByL CIRCLE 0 NO C 0 0 0 0 10 40 2.5 0 360",
         "1 A 0 7 ByL ByL CIRCLE 0 NO C 12.500000000000 40.000000000000 12.500000000000 "
         "40.000000000000 10.000000000000 40.000000000000 2.500000000000 0.000000000000 "
         "360.000000000000\n"},
        {"Point", "8 4D 0 5 ByL ByL POINT 0 NO P 3 4 35 0.5",
         "8 4D 0 5 ByL ByL POINT 0 NO P 3.000000000000 4.000000000000 35 0.500000000000\n"},
        {"StraightSegment", "9 5E Frame 1 ByL ByL PLINE 0 NO L 0 0 10 0 0.25 0.5",
         "9 5E Frame 1 ByL ByL PLINE 0 NO L 0.000000000000 0.000000000000 10.000000000000 "
         "0.000000000000 0.250000000000 0.500000000000\n"},
        {"ArcSegment", "10 5F Frame 1 ByL ByL PLINE 0 NO A 10 0 0 10 0.5 -0.5 0 0 10 0 90",
         "10 5F Frame 1 ByL ByL PLINE 0 NO A 10.000000000000 0.000000000000 0.000000000000 "
         "10.000000000000 0.500000000000 -0.500000000000 0.000000000000 0.000000000000 "
         "10.000000000000 0.000000000000 90.000000000000\n"},
        {"Dimension",
         "11 60 Dims 2 ByL ByL DIMENSION 0 NO D 1 ISO-25 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 <>",
         "11 60 Dims 2 ByL ByL DIMENSION 0 NO D 1 ISO-25 1.000000000000 2.000000000000 "
         "3.000000000000 4.000000000000 5.000000000000 6.000000000000 7.000000000000 "
         "8.000000000000 9.000000000000 10.000000000000 11.000000000000 12.000000000000 "
         "13.000000000000 14.000000000000 15.000000000000 <>\n"},
        {"Solid", "12 61 0 4 ByL ByL SOLID 0 NO S 0 0 1 0 0 1 1 1",
         "12 61 0 4 ByL ByL SOLID 0 NO S 0.000000000000 0.000000000000 1.000000000000 "
         "0.000000000000 0.000000000000 1.000000000000 1.000000000000 1.000000000000\n"},
    };
    return cases;
}

class KindLineTest : public ::testing::TestWithParam<KindCase> {};

TEST_P(KindLineTest, ReadThenWrittenGivesTheGoldenLineAndStaysStable) {
    const KindCase& c = GetParam();
    TempDrive drive;
    const fs::path in = drive.work / "Object.fad";
    write_file(in, c.input + "\n");
    Loaded first = load_path(in);
    ASSERT_TRUE(first.ok);
    ASSERT_EQ(first.count, 1);
    EXPECT_EQ(line_of(first.list[0]), c.expected);

    write_file(in, c.expected);
    Loaded second = load_path(in);
    ASSERT_TRUE(second.ok);
    EXPECT_EQ(line_of(second.list[0]), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Kinds, KindLineTest, ::testing::ValuesIn(kind_cases()),
                         [](const ::testing::TestParamInfo<KindCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(WriteEntityFile, EveryKindRoundTripsThroughTheFileByteForByte) {
    TempDrive drive;
    std::string golden;
    for (const KindCase& c : kind_cases()) {
        golden += c.expected;
    }
    const fs::path object = drive.work / "Object.fad";
    const fs::path result = drive.work / "ResultDR.fad";
    write_file(object, golden);
    Loaded first = load_path(object);
    ASSERT_TRUE(first.ok);
    ASSERT_EQ(first.count, static_cast<int>(kind_cases().size()));
    ASSERT_TRUE(write_entity_file(first.list, first.count, result.string().c_str()));
    EXPECT_EQ(read_text_file(result), golden);

    Loaded second = load_path(result);
    ASSERT_TRUE(second.ok);
    ASSERT_TRUE(write_entity_file(second.list, second.count, result.string().c_str()));
    EXPECT_EQ(read_text_file(result), golden);
}

// ---------------------------------------------------------------------------
// Writer rules

TEST(FormatEntityRecord, ColourZeroIsWrittenAndStoredAsOne) {
    EntityRecord r;
    r.color = 0;
    std::string out;
    format_entity_record(r, out);
    EXPECT_EQ(split_words(out)[3], "1");
    EXPECT_EQ(r.color, 1);

    EntityRecord negative;
    negative.color = -3;
    EXPECT_EQ(split_words(line_of(negative))[3], "-3");
}

TEST(FormatEntityRecord, FullCircleEndsWhereItStarts) {
    EntityRecord r = arc_record("ARC", "A", 0.0, 360.0);
    r.center = Point{5.0, -5.0};
    r.radius = 3.0;
    std::string out;
    format_entity_record(r, out);
    EXPECT_EQ(out,
              "0 0 0 1 ByL ByL CIRCLE 0 NO C 8.000000000000 -5.000000000000 8.000000000000 "
              "-5.000000000000 5.000000000000 -5.000000000000 3.000000000000 0.000000000000 "
              "360.000000000000\n");
    EXPECT_EQ(r.end_angle, 360.0);
    // Only the written tokens change: the record keeps its kind and shape.
    EXPECT_STREQ(r.kind, "ARC");
    EXPECT_STREQ(r.shape, "A");
}

TEST(FormatEntityRecord, ArcPastZeroDegreesGetsWrappedEndAngleAndEndPoint) {
    EntityRecord r = arc_record("ARC", "A", 300.0, 90.0);
    std::string out;
    format_entity_record(r, out);
    EXPECT_EQ(out,
              "0 0 0 1 ByL ByL ARC 0 NO A 1.000000000000 -1.732050807569 1.732050807569 "
              "1.000000000000 0.000000000000 0.000000000000 2.000000000000 300.000000000000 "
              "30.000000000000\n");
    EXPECT_EQ(r.end_angle, 30.0);
}

struct EndAngleCase {
    double start;
    double sweep;
    double end;
};

TEST(FormatEntityRecord, EndAngleIsStartPlusSweepLess360OnlyAbove360) {
    const EndAngleCase cases[] = {
        {300.0, 90.0, 30.0},  {0.0, 360.0, 360.0}, {10.0, 350.0, 360.0},
        {270.0, 180.0, 90.0}, {350.0, 20.0, 10.0}, {15.0, 30.0, 45.0},
    };
    for (const EndAngleCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.start << " + " << c.sweep);
        for (const char* kind : {"ARC", "PLINE"}) {
            EntityRecord r = arc_record(kind, "A", c.start, c.sweep);
            std::string out;
            format_entity_record(r, out);
            const std::vector<std::string> tokens = split_words(out);
            EXPECT_EQ(r.end_angle, c.end) << kind;
            EXPECT_EQ(std::stod(tokens.back()), c.end) << kind;
        }
    }
}

struct TokenCase {
    const char* kind;
    const char* shape;
    double sweep;
    const char* kind_token;
    const char* shape_token;
};

TEST(FormatEntityRecord, ArcOrCircleAndShapeTokensFollowTheSweep) {
    const TokenCase cases[] = {
        {"ARC", "A", 359.9999995, "CIRCLE", "C"},  {"ARC", "A", 359.9999, "ARC", "A"},
        {"ARC", "A", 359.999999, "ARC", "A"},      {"ARC", "C", 360.0, "CIRCLE", "C"},
        {"CIRCLE", "C", 90.0, "ARC", "A"},         {"CIRCLE", "C", 360.0, "CIRCLE", "C"},
        {"CIRCLE", "Q", 360.0, "CIRCLE", "Q"},     {"PLINE", "A", 360.0, "PLINE", "C"},
        {"PLINE", "C", 90.0, "PLINE", "A"},        {"PLINE", "L", 360.0, "PLINE", "L"},
        {"PLINE", "A", 359.9999995, "PLINE", "C"},
    };
    for (const TokenCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.kind << " " << c.shape << " " << c.sweep);
        const std::vector<std::string> tokens =
            split_words(line_of(arc_record(c.kind, c.shape, 0, c.sweep)));
        ASSERT_GE(tokens.size(), 10u);
        EXPECT_EQ(tokens[6], c.kind_token);
        EXPECT_EQ(tokens[9], c.shape_token);
    }
}

TEST(FormatEntityRecord, SegmentOfOtherShapeIsWrittenInArcFormWithItsPointsAsStored) {
    EntityRecord r;
    testsupport::set_fields(r,
                            "kind=PLINE, shape=X, p1=1 2, p2=3 4, seg_a=0.5, seg_b=0.25, "
                            "center=5 6, radius=7, start_angle=10, sweep=20");
    EXPECT_EQ(line_of(r),
              "0 0 0 1 ByL ByL PLINE 0 NO X 1.000000000000 2.000000000000 3.000000000000 "
              "4.000000000000 0.500000000000 0.250000000000 5.000000000000 6.000000000000 "
              "7.000000000000 10.000000000000 30.000000000000\n");
}

struct WeightCase {
    double weight;
    const char* token;
};

TEST(FormatEntityRecord, WeightIsWrittenWithoutDecimalsRoundingHalfToEven) {
    const WeightCase cases[] = {
        {2.0, "2"}, {0.0, "0"}, {2.5, "2"},   {3.5, "4"},
        {0.5, "0"}, {1.5, "2"}, {-0.4, "-0"}, {1234.7, "1235"},
    };
    for (const WeightCase& c : cases) {
        SCOPED_TRACE(c.weight);
        EntityRecord r;
        r.weight = c.weight;
        EXPECT_EQ(split_words(line_of(r))[7], c.token);
    }
}

TEST(FormatEntityRecord, UnknownKindIsItsHeadOnALineOfItsOwn) {
    EntityRecord r;
    r.id = 13;
    std::strcpy(r.handle, "62");
    std::strcpy(r.kind, "HATCH");
    std::strcpy(r.shape, "H");
    r.p1 = Point{1.0, 2.0};
    EXPECT_EQ(line_of(r), "13 62 0 1 ByL ByL HATCH 0 NO H\n");
}

// ---------------------------------------------------------------------------
// Whole file

EntityList sample_list(int count) {
    EntityList list = entity_list_create(count);
    for (int i = 0; i < count; ++i) {
        list[static_cast<std::size_t>(i)] = make_line_entity(
            "HoleChart", 3, "ByL", "ByL", "NO", 0.0, 0.0, Point{1.0 * i, 0.0}, Point{1.0 * i, 5.0});
    }
    return list;
}

TEST(WriteEntityFile, WritesOnlyTheFirstCountRecordsAndStoresColourChanges) {
    TempDrive drive;
    const fs::path path = drive.work / "ResultDR.fad";
    EntityList list = sample_list(3);
    list[0].color = 0;
    ASSERT_TRUE(write_entity_file(list, 2, path.string().c_str()));
    const std::string text = read_text_file(path);
    EXPECT_EQ(text,
              "0 0 HoleChart 1 ByL ByL LINE 0 NO L 0.000000000000 0.000000000000 0.000000000000 "
              "5.000000000000\n"
              "0 0 HoleChart 3 ByL ByL LINE 0 NO L 1.000000000000 0.000000000000 1.000000000000 "
              "5.000000000000\n");
    EXPECT_EQ(list[0].color, 1);
    EXPECT_TRUE(leftover_temporaries(path).empty());
}

TEST(WriteEntityFile, EmptyListGivesAnEmptyFileReplacingAnEarlierOne) {
    TempDrive drive;
    const fs::path path = drive.work / "ResultDR.fad";
    write_file(path, "earlier result\n");
    EntityList list = entity_list_create(2);
    ASSERT_TRUE(write_entity_file(list, 0, path.string().c_str()));
    EXPECT_TRUE(fs::exists(path));
    EXPECT_EQ(read_file(path), "");
}

TEST(WriteEntityFile, AnythingAtAFixedTemporaryNameIsNoObstacle) {
    // The temporary file gets a new name of its own every time: a file,
    // folder, FIFO or link planted under the name a run might use is never
    // written through or waited for, and is left as it was.
    struct Planted {
        const char* what;
        void (*plant)(const fs::path& at);
    };
    const Planted cases[] = {
        {"file", [](const fs::path& at) { write_file(at, std::string(5000, 'z')); }},
        {"folder", [](const fs::path& at) { fs::create_directory(at); }},
#ifndef _WIN32
        {"fifo", [](const fs::path& at) { ASSERT_EQ(mkfifo(at.c_str(), 0600), 0); }},
        {"link to a full device", [](const fs::path& at) { fs::create_symlink("/dev/full", at); }},
#endif
    };
    for (const Planted& c : cases) {
        TempDrive drive;
        const fs::path path = drive.work / "ResultDR.fad";
        const fs::path old_name = drive.work / "ResultDR.fad.tmp";
        c.plant(old_name);
        const fs::file_type planted = fs::symlink_status(old_name).type();
        EntityList list = sample_list(1);
        ASSERT_TRUE(write_entity_file(list, 1, path.string().c_str())) << c.what;
        EXPECT_EQ(read_text_file(path), line_of(list[0])) << c.what;
        EXPECT_EQ(fs::symlink_status(old_name).type(), planted) << c.what;
        EXPECT_TRUE(leftover_temporaries(path).empty()) << c.what;
    }
}

TEST(WriteEntityFile, LargeListIsWrittenWhole) {
    TempDrive drive;
    const fs::path path = drive.work / "ResultDR.fad";
    constexpr int kCount = 20000;  // more than one output block
    EntityList list = sample_list(kCount);
    ASSERT_TRUE(write_entity_file(list, kCount, path.string().c_str()));
    std::string expected;
    for (int i = 0; i < kCount; ++i) {
        format_entity_record(list[static_cast<std::size_t>(i)], expected);
    }
    ASSERT_GT(expected.size(), 1u << 20);
    EXPECT_EQ(read_text_file(path), expected);
}

// Each case prepares the folder so that the write must fail; an earlier
// result must survive untouched and no temporary file may be left behind.
struct FailureCase : testsupport::NamedCase {
    void (*prepare)(const fs::path& work);
    bool (*usable)();
    const char* target;
};

bool always() {
    return true;
}

void write_earlier(const fs::path& work) {
    write_file(work / "ResultDR.fad", "earlier\n");
}

class WriteFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(WriteFailureTest, ReturnsFalseAndLeavesTheEarlierResult) {
    const FailureCase& c = GetParam();
    if (!c.usable()) {
        GTEST_SKIP() << "needs /dev/full";
    }
    TempDrive drive;
    const fs::path target = drive.work / c.target;
    c.prepare(drive.work);
    const bool had_earlier = fs::is_regular_file(target);
    EntityList list = sample_list(3);
    EXPECT_FALSE(write_entity_file(list, 3, target.string().c_str()));
    if (had_earlier) {
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(target)));
        EXPECT_EQ(read_file(target), "earlier\n");
    }
    EXPECT_TRUE(leftover_temporaries(target).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WriteFailureTest,
    ::testing::Values(
        FailureCase{"ReadOnlyTarget",
                    [](const fs::path& work) {
                        write_earlier(work);
                        fs::permissions(work / "ResultDR.fad", fs::perms::owner_read |
                                                                   fs::perms::group_read |
                                                                   fs::perms::others_read);
                    },
                    always, "ResultDR.fad"},
        FailureCase{"MissingFolder", [](const fs::path&) {}, always, "missing/ResultDR.fad"},
        FailureCase{"TargetIsAFolder",
                    [](const fs::path& work) { fs::create_directory(work / "Result.dir"); }, always,
                    "Result.dir"}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST(WriteEntityFile, MissingFolderIsNotCreated) {
    TempDrive drive;
    EntityList list = sample_list(1);
    EXPECT_FALSE(write_entity_file(list, 1, (drive.work / "missing" / "R.fad").string().c_str()));
    EXPECT_FALSE(fs::exists(drive.work / "missing"));
}

// ---------------------------------------------------------------------------
// Layer override

EntityList mixed_chart(int& count) {
    EntityList list = entity_list_create(2);
    count = 0;
    const EntityRecord records[] = {
        make_line_entity("HoleChart", 3, "ByL", "ByL", "NO", 0.0, 0.0, Point{0, 0}, Point{10, 0}),
        make_text_entity("HoleChart", 3, "ByL", "ByL", "NO", 2.5, 0.0, "BL", Point{1, 1}, "NO"),
        make_text_entity("HoleChart", 3, "ByL", "ByL", "NO", 2.5, 0.0, "MC", Point{5, 5}, "1"),
    };
    for (const EntityRecord& r : records) {
        list[static_cast<std::size_t>(count)] = r;
        ++count;
        entity_list_grow(list, count, 1);
    }
    return list;
}

TEST(OverrideLayer, ZeroOrNegativeCountChangesNothing) {
    int count = 0;
    EntityList list = mixed_chart(count);
    std::vector<std::string> before;
    for (std::size_t i = 0; i < list.size(); ++i) {
        before.push_back(line_of(list[i]));
    }
    override_layer(list, 0, "Other", 5);
    override_layer(list, -4, "Other", 5);
    for (std::size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(line_of(list[i]), before[i]) << i;
    }
}

TEST(OverrideLayer, AllRecordsUpToCountTakeLayerAndColourAndNothingElse) {
    int count = 0;
    EntityList list = mixed_chart(count);
    std::vector<EntityRecord> expected(list.records.begin(), list.records.end());
    override_layer(list, count, "Custom", 0);
    for (int i = 0; i < count; ++i) {
        std::strcpy(expected[static_cast<std::size_t>(i)].layer, "Custom");
        expected[static_cast<std::size_t>(i)].color = 0;
    }
    for (std::size_t i = 0; i < list.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_STREQ(list[i].layer, expected[i].layer);
        EXPECT_EQ(list[i].color, expected[i].color);
        EXPECT_EQ(line_of(list[i]), line_of(expected[i]));
    }
    EXPECT_STREQ(list[2].kind, "TEXT");
    EXPECT_STREQ(list[static_cast<std::size_t>(count)].layer, "0");  // the defaulted slot
}

TEST(OverrideLayer, OnlyTheFirstNRecordsChange) {
    int count = 0;
    EntityList list = mixed_chart(count);
    override_layer(list, 2, "Part", 7);
    EXPECT_STREQ(list[1].layer, "Part");
    EXPECT_EQ(list[1].color, 7);
    EXPECT_STREQ(list[2].layer, "HoleChart");
    EXPECT_EQ(list[2].color, 3);
}

TEST(OverrideLayer, LongNameIsCutToTheField) {
    int count = 0;
    EntityList list = mixed_chart(count);
    std::string name;
    for (int i = 0; i < 300; ++i) {
        name.push_back(static_cast<char>('a' + i % 26));
    }
    override_layer(list, count, name.c_str(), 4);
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(std::string(list[static_cast<std::size_t>(i)].layer), name.substr(0, 51));
        // The field after the layer is untouched.
        EXPECT_EQ(list[static_cast<std::size_t>(i)].color, 4);
        EXPECT_STREQ(list[static_cast<std::size_t>(i)].line_type, "ByL");
    }
}

}  // namespace
