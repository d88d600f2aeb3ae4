// Picking holes out of the entity list, the hole order with its tolerance
// quirks, and the merging of concentric holes into position keys.
#include "chart/hole_collection.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/named_case.hpp"
#include "tests/support/record_fields.hpp"
#include "util/fixed_text.hpp"

namespace {

using testsupport::ids_of;
using testsupport::list_of;

struct HoleSpec {
    double x;
    double y;
    double radius;
    double sweep = 360.0;
    const char* tag = "3_0";
    const char* style = "ByL";
};

EntityRecord make_record(int id, const char* shape, const char* kind, double sweep,
                         const char* tag) {
    EntityRecord r;
    r.id = id;
    copy_text(r.shape, shape);
    copy_text(r.kind, kind);
    copy_text(r.tag, tag);
    r.sweep = sweep;
    return r;
}

EntityRecord make_hole(int id, const HoleSpec& h) {
    EntityRecord r = make_record(id, h.sweep >= 359.999 ? "C" : "A",
                                 h.sweep >= 359.999 ? "CIRCLE" : "ARC", h.sweep, h.tag);
    r.center = Point{h.x, h.y};
    r.radius = h.radius;
    copy_text(r.line_style, h.style);
    return r;
}

EntityList holes_list(const std::vector<HoleSpec>& holes) {
    std::vector<EntityRecord> records;
    for (std::size_t i = 0; i < holes.size(); ++i) {
        records.push_back(make_hole(static_cast<int>(i), holes[i]));
    }
    return list_of(records);
}

// ---------------------------------------------------------------- is_hole

struct ShapeCase : testsupport::NamedCase {
    const char* shape;
    const char* kind;
    double sweep;
    bool hole;
};

class IsHoleTest : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(IsHoleTest, DecidesByShapeCodeAndSweepOnly) {
    const ShapeCase& c = GetParam();
    const EntityRecord r = make_record(1, c.shape, c.kind, c.sweep, "NO");
    EXPECT_EQ(is_hole(r), c.hole);

    // collect_holes agrees with is_hole on a single record.
    EntityList list = list_of({r});
    EXPECT_EQ(collect_holes(list, 1), c.hole ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, IsHoleTest,
    ::testing::Values(ShapeCase{"CircleFull", "C", "CIRCLE", 360.0, true},
                      ShapeCase{"CircleShapeOnArcKindSmallSweep", "C", "ARC", 90.0, true},
                      ShapeCase{"CircleShapeOnLineKindNoSweep", "C", "LINE", 0.0, true},
                      ShapeCase{"ArcJustOverHalf", "A", "ARC", 180.5, true},
                      ShapeCase{"ArcExactlyHalf", "A", "ARC", 180.0, false},
                      ShapeCase{"ArcUnderHalf", "A", "ARC", 90.0, false},
                      ShapeCase{"ArcShapeOnPolylineKind", "A", "PLINE", 270.0, true},
                      ShapeCase{"LowerCaseCircle", "c", "CIRCLE", 360.0, false},
                      ShapeCase{"LowerCaseArc", "a", "ARC", 270.0, false},
                      ShapeCase{"Straight", "L", "CIRCLE", 360.0, false},
                      ShapeCase{"CodeWithTrailingBlank", "C ", "CIRCLE", 360.0, false},
                      ShapeCase{"LongerCode", "CC", "CIRCLE", 360.0, false},
                      ShapeCase{"EmptyCode", "", "CIRCLE", 360.0, false}),
    [](const ::testing::TestParamInfo<ShapeCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------- collect_holes

struct TagCase {
    const char* tag;
    const char* expected;
};

TEST(CollectHolesTest, OnlyExactUntaggedWordsGetDefaultTag) {
    const std::vector<TagCase> cases = {
        {"NONE", "3_0"}, {"NO", "3_0"},  {"none", "none"},   {"No", "No"},
        {"nO", "nO"},    {"NO ", "NO "}, {"NONE1", "NONE1"}, {"5_2.5", "5_2.5"},
        {"4", "4"},      {"", ""},       {"N", "N"},
    };
    for (const TagCase& c : cases) {
        EntityList list = list_of({make_record(1, "C", "CIRCLE", 360.0, c.tag)});
        ASSERT_EQ(collect_holes(list, 1), 1) << c.tag;
        EXPECT_STREQ(list[0].tag, c.expected) << "tag '" << c.tag << "'";
    }
}

TEST(CollectHolesTest, CompactsHolesToFrontInListOrder) {
    EntityRecord circle = make_record(2, "C", "CIRCLE", 360.0, "NO");
    circle.center = Point{10.0, 40.0};
    circle.radius = 2.5;
    copy_text(circle.layer, "HOLES");
    EntityRecord arc = make_record(4, "A", "ARC", 270.0, "5_1");
    arc.radius = 3.0;
    const std::vector<EntityRecord> input = {
        make_record(1, "L", "LINE", 0.0, "NO"),   circle,
        make_record(3, "T", "TEXT", 0.0, "NONE"), arc,
        make_record(5, "A", "ARC", 180.0, "NO"),  make_record(6, "C", "CIRCLE", 360.0, "NONE"),
        make_record(7, "L", "LINE", 0.0, "NO"),
    };
    EntityList list = list_of(input);
    const int n = collect_holes(list, static_cast<int>(input.size()));

    ASSERT_EQ(n, 3);
    EXPECT_EQ(ids_of(list, n), (std::vector<int>{2, 4, 6}));
    EXPECT_STREQ(list[0].tag, "3_0");
    EXPECT_STREQ(list[1].tag, "5_1");
    EXPECT_STREQ(list[2].tag, "3_0");
    // Whole records move.
    EXPECT_STREQ(list[0].layer, "HOLES");
    EXPECT_EQ(list[0].center.x, 10.0);
    EXPECT_EQ(list[0].center.y, 40.0);
    EXPECT_EQ(list[0].radius, 2.5);
    EXPECT_EQ(list[1].radius, 3.0);
    EXPECT_STREQ(list[1].kind, "ARC");

    // Records from n on are the originals, untouched; non-holes keep their
    // untagged words.
    EXPECT_EQ(ids_of(list, 7), (std::vector<int>{2, 4, 6, 4, 5, 6, 7}));
    EXPECT_STREQ(list[4].tag, "NO");
    // The defaulted slot after the records is left alone.
    EXPECT_EQ(list[7].id, 0);
    EXPECT_STREQ(list[7].shape, "L");
}

TEST(CollectHolesTest, NoHoleGivesZero) {
    EntityList list =
        list_of({make_record(1, "L", "LINE", 0.0, "NO"), make_record(2, "A", "ARC", 180.0, "NO"),
                 make_record(3, "T", "TEXT", 0.0, "NO")});
    EXPECT_EQ(collect_holes(list, 3), 0);
    EXPECT_EQ(ids_of(list, 3), (std::vector<int>{1, 2, 3}));
}

TEST(CollectHolesTest, ConsidersOnlyTheGivenCount) {
    EntityList list = list_of(
        {make_record(1, "L", "LINE", 0.0, "NO"), make_record(2, "C", "CIRCLE", 360.0, "NO")});
    EXPECT_EQ(collect_holes(list, 1), 0);
    EXPECT_STREQ(list[1].tag, "NO");
}

// ------------------------------------------------------------ order_holes

struct OrderCase : testsupport::NamedCase {
    std::vector<HoleSpec> holes;
    std::vector<int> expected;  // input indices in output order
};

class OrderHolesTest : public ::testing::TestWithParam<OrderCase> {};

TEST_P(OrderHolesTest, FollowsTheExchangeLoop) {
    const OrderCase& c = GetParam();
    EntityList list = holes_list(c.holes);
    const int n = static_cast<int>(c.holes.size());
    order_holes(list, n);
    EXPECT_EQ(ids_of(list, n), c.expected);
    // Records travel whole: every slot still holds its own hole's centre.
    for (int i = 0; i < n; ++i) {
        const EntityRecord& r = list[static_cast<std::size_t>(i)];
        const HoleSpec& h = c.holes[static_cast<std::size_t>(r.id)];
        EXPECT_EQ(r.center.x, h.x);
        EXPECT_EQ(r.center.y, h.y);
        EXPECT_EQ(r.radius, h.radius);
    }
    EXPECT_EQ(list[static_cast<std::size_t>(n)].id, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, OrderHolesTest,
    ::testing::Values(
        OrderCase{"SingleHole", {{3, 4, 1}}, {0}},
        // Slightly higher always moves ahead, even inside the row tolerance.
        OrderCase{"SlightlyHigherSecondMovesAhead", {{0, 10.000, 1}, {5, 10.005, 1}}, {1, 0}},
        // Not higher, within the row tolerance and further right: exchanged.
        OrderCase{
            "SlightlyHigherFirstIsRowAndRightOfOther", {{5, 10.005, 1}, {0, 10.000, 1}}, {1, 0}},
        OrderCase{"RowWithinToleranceLeftFirst", {{0, 10, 1}, {5, 9.995, 1}}, {0, 1}},
        OrderCase{"RowWithinToleranceGivenRightFirst", {{5, 9.995, 1}, {0, 10, 1}}, {1, 0}},
        OrderCase{"TwoRowsHigherFirst", {{0, 10, 1}, {5, 9.98, 1}}, {0, 1}},
        OrderCase{"TwoRowsGivenLowerFirst", {{5, 9.98, 1}, {0, 10, 1}}, {1, 0}},
        OrderCase{"ConcentricSmallerFirst", {{1, 1, 5}, {1, 1, 3}}, {1, 0}},
        OrderCase{"ConcentricAlreadyOrdered", {{1, 1, 3}, {1, 1, 5}}, {0, 1}},
        // Same column within 0.01: the radius decides, not x.
        OrderCase{"SameColumnSmallerRadiusFirst", {{0, 0, 5}, {0.005, 0, 3}}, {1, 0}},
        OrderCase{"ColumnExactlyApartKeepsLeftFirst", {{0, 0, 5}, {0.01, 0, 3}}, {0, 1}},
        OrderCase{"EqualHolesKeepOrder", {{2, 2, 4}, {2, 2, 4}, {2, 2, 4}}, {0, 1, 2}},
        // Each hole is higher than its left neighbour by less than the row
        // tolerance: every comparison moves the higher one ahead, so the row
        // comes out right to left.
        OrderCase{"StaircaseWithinToleranceComesOutRightToLeft",
                  {{0, 10.000, 1}, {5, 10.008, 1}, {10, 10.016, 1}},
                  {2, 1, 0}},
        OrderCase{"GridTopRowFirstEachRowLeftToRight",
                  {{10, 0, 1}, {0, 0, 1}, {10, 20, 1}, {0, 20, 1}, {5, 10, 1}},
                  {3, 2, 4, 1, 0}},
        OrderCase{
            "ConcentricGroupsInRow", {{20, 5, 2}, {0, 5, 4}, {20, 5, 1}, {0, 5, 3}}, {3, 1, 2, 0}}),
    [](const ::testing::TestParamInfo<OrderCase>& info) { return std::string(info.param.name); });

// ------------------------------------------------------- position keys

TEST(FormatHoleEntryTest, TagStyleRadiusSweepWithFiveDecimals) {
    struct EntryCase {
        HoleSpec hole;
        const char* expected;
    };
    const std::vector<EntryCase> cases = {
        {{0, 0, 3.0, 360.0}, "3_0_ByL_3.00000_360.00000"},
        {{0, 0, 3.4, 270.0}, "3_0_ByL_3.40000_270.00000"},
        {{0, 0, 2.123456, 359.999999, "5_2.5", "HIDDEN"}, "5_2.5_HIDDEN_2.12346_360.00000"},
        {{0, 0, 0.0, 200.000004, "7", "ByL"}, "7_ByL_0.00000_200.00000"},
        {{0, 0, 12345.5, 181.25, "", ""}, "__12345.50000_181.25000"},
    };
    for (const EntryCase& c : cases) {
        EXPECT_EQ(format_hole_entry(make_hole(0, c.hole)), c.expected);
    }
}

struct PositionExpect {
    int id;
    std::string key;
    double point_size;
};

void expect_positions(const EntityList& list, int p, const std::vector<PositionExpect>& expected) {
    ASSERT_EQ(p, static_cast<int>(expected.size()));
    for (std::size_t t = 0; t < expected.size(); ++t) {
        EXPECT_EQ(list[t].id, expected[t].id) << "position " << t;
        EXPECT_EQ(read_key_area(list[t]), expected[t].key) << "position " << t;
        EXPECT_EQ(list[t].point_size, expected[t].point_size) << "position " << t;
    }
}

const char* const kR2 = "3_0_ByL_2.00000_360.00000";

TEST(BuildPositionKeysTest, CommonCentreBoundaryIsOneThousandth) {
    {
        EntityList list = holes_list({{0, 0, 2}, {0.0005, 0, 2}});
        const int p = build_positions(list, 2).count;
        expect_positions(list, p, {{0, std::string(kR2) + "," + kR2, 360.0}});
    }
    {
        EntityList list = holes_list({{0, 0, 2}, {0.001, 0, 2}});
        const int p = build_positions(list, 2).count;
        expect_positions(list, p, {{0, kR2, 360.0}, {1, kR2, 360.0}});
        EXPECT_EQ(list[1].center.x, 0.001);
    }
    {
        // Vertical distance counts the same way.
        EntityList list = holes_list({{5, 0, 2}, {5, 0.0009, 2}, {5, 0.001, 2}});
        const int p = build_positions(list, 3).count;
        EXPECT_EQ(p, 2);
    }
}

TEST(BuildPositionKeysTest, PositionCentreIsItsFirstHole) {
    EntityList list = holes_list({{0, 0, 2}, {0.0008, 0, 2}, {0.0016, 0, 2}});
    const int p = build_positions(list, 3).count;
    expect_positions(list, p, {{0, std::string(kR2) + "," + kR2, 360.0}, {2, kR2, 360.0}});
    EXPECT_EQ(list[0].center.x, 0.0);
    EXPECT_EQ(list[1].center.x, 0.0016);
}

TEST(BuildPositionKeysTest, KeyListsEveryHoleOfThePositionInOrder) {
    EntityList list = holes_list({{10, 20, 3.0, 360.0}, {10, 20, 3.4, 270.0}});
    copy_text(list[0].layer, "HOLES");
    list[0].color = 5;
    const int p = build_positions(list, 2).count;
    expect_positions(list, p, {{0, "3_0_ByL_3.00000_360.00000,3_0_ByL_3.40000_270.00000", 360.0}});
    // The rest of the position record is the first hole's.
    EXPECT_STREQ(list[0].layer, "HOLES");
    EXPECT_EQ(list[0].color, 5);
    EXPECT_EQ(list[0].radius, 3.0);
    EXPECT_EQ(list[0].sweep, 360.0);
    EXPECT_EQ(list[0].center.x, 10.0);
    EXPECT_EQ(list[0].center.y, 20.0);
}

TEST(BuildPositionKeysTest, PointSizeIsTheFirstHolesSweep) {
    EntityList list = holes_list({{0, 0, 3.4, 270.0}, {0, 0, 3.0, 360.0}, {9, 0, 1, 190.5}});
    const int p = build_positions(list, 3).count;
    expect_positions(list, p,
                     {{0, "3_0_ByL_3.40000_270.00000,3_0_ByL_3.00000_360.00000", 270.0},
                      {2, "3_0_ByL_1.00000_190.50000", 190.5}});
}

TEST(BuildPositionKeysTest, SingleHoleGivesItsOwnEntry) {
    EntityList list = holes_list({{1, 2, 2.5, 360.0, "2_8", "DASHED"}});
    const int p = build_positions(list, 1).count;
    expect_positions(list, p, {{0, "2_8_DASHED_2.50000_360.00000", 360.0}});
}

TEST(BuildPositionKeysTest, MovedPositionsKeepTheirOwnTagsKeysAndRows) {
    // Later positions are copied down over holes already merged; each key
    // and each row must come from the position's own holes.
    EntityList list = holes_list({{0, 0, 1, 360.0, "1"},
                                  {0, 0, 2, 360.0, "2"},
                                  {0, 0, 3, 360.0, "3"},
                                  {10, 0, 4, 360.0, "4"},
                                  {10, 0, 5, 300.0, "5"},
                                  {20, 0, 6, 250.0, "6"}});
    const HolePositions positions = build_positions(list, 6);
    expect_positions(
        list, positions.count,
        {{0, "1_ByL_1.00000_360.00000,2_ByL_2.00000_360.00000,3_ByL_3.00000_360.00000", 360.0},
         {3, "4_ByL_4.00000_360.00000,5_ByL_5.00000_300.00000", 360.0},
         {5, "6_ByL_6.00000_250.00000", 250.0}});
    EXPECT_EQ(list[1].center.x, 10.0);
    EXPECT_EQ(list[2].center.x, 20.0);
    const std::vector<std::vector<int>> codes = {{1, 2, 3}, {4, 5}, {6}};
    ASSERT_EQ(positions.rows.size(), codes.size());
    for (std::size_t t = 0; t < codes.size(); ++t) {
        const HoleTypeRow& row = positions.rows[t];
        ASSERT_EQ(row.circle_count, static_cast<int>(codes[t].size())) << "position " << t;
        for (int k = 0; k < row.circle_count; ++k) {
            EXPECT_EQ(row.type_code[k], codes[t][static_cast<std::size_t>(k)]);
            EXPECT_EQ(row.hole_radius[k], codes[t][static_cast<std::size_t>(k)]);
        }
    }
}

std::string join(const std::vector<std::string>& entries) {
    std::string key;
    for (const std::string& e : entries) {
        if (!key.empty()) {
            key.push_back(',');
        }
        key += e;
    }
    return key;
}

TEST(BuildPositionKeysTest, OverlongKeyKeepsWholeEntriesThatFit) {
    // 20 equal holes around one centre: each entry is 25 characters, so 12
    // of them with their commas make 311 characters and a 13th would pass 330.
    std::vector<HoleSpec> holes(20, HoleSpec{0, 0, 1});
    holes.push_back(HoleSpec{50, 0, 2});
    EntityList list = holes_list(holes);
    const int p = build_positions(list, static_cast<int>(holes.size())).count;
    const std::string entry = "3_0_ByL_1.00000_360.00000";
    const std::string twelve = join(std::vector<std::string>(12, entry));
    ASSERT_EQ(twelve.size(), 311u);
    // The next position starts a fresh key.
    expect_positions(list, p, {{0, twelve, 360.0}, {20, kR2, 360.0}});
}

TEST(BuildPositionKeysTest, AfterAnEntryIsLeftOutLaterOnesAreToo) {
    // 11 entries (285 characters), then one that cannot fit, then a short one
    // that would fit on its own: the key stays a leading run of the holes.
    std::vector<HoleSpec> holes(11, HoleSpec{0, 0, 1});
    const std::string long_tag(45, 'T');
    holes.push_back(HoleSpec{0, 0, 1, 360.0, long_tag.c_str()});
    holes.push_back(HoleSpec{0, 0, 1});
    EntityList list = holes_list(holes);
    const int p = build_positions(list, static_cast<int>(holes.size())).count;
    const std::string eleven = join(std::vector<std::string>(11, "3_0_ByL_1.00000_360.00000"));
    ASSERT_EQ(eleven.size(), 285u);
    expect_positions(list, p, {{0, eleven, 360.0}});
}

TEST(BuildPositionKeysTest, KeyOfExactly330CharactersIsKept) {
    // Three entries of 71 characters (tag of 49) with commas make 215; the
    // last tag's length puts the key at 330 or 331 characters.
    const std::string tag49(49, 'A');
    struct Case {
        std::size_t last_tag;
        std::size_t key_chars;
    };
    for (const Case c : {Case{41, 330}, Case{42, 266}}) {
        const std::string last_tag(c.last_tag, 'B');
        const std::string tag28(28, 'C');
        // 71 + 72 + 72 = 215; + 1 + (28 + 22) = 266; + 1 + (last + 22).
        EntityList list = holes_list({{0, 0, 1, 360.0, tag49.c_str()},
                                      {0, 0, 1, 360.0, tag49.c_str()},
                                      {0, 0, 1, 360.0, tag49.c_str()},
                                      {0, 0, 1, 360.0, tag28.c_str()},
                                      {0, 0, 1, 360.0, last_tag.c_str()}});
        ASSERT_EQ(build_positions(list, 5).count, 1);
        const std::string key = read_key_area(list[0]);
        EXPECT_EQ(key.size(), c.key_chars) << "last tag " << c.last_tag;
        const std::string last_entry = last_tag + "_ByL_1.00000_360.00000";
        const bool has_last =
            key.size() >= last_entry.size() &&
            key.compare(key.size() - last_entry.size(), std::string::npos, last_entry) == 0;
        EXPECT_EQ(has_last, c.key_chars == 330) << "last tag " << c.last_tag;
    }
}

TEST(BuildPositionKeysTest, FirstEntryLongerThanKeyAreaIsCut) {
    // A 49-character tag, a 19-character style and a radius of 1e300 give an
    // entry far longer than the key area.
    const std::string tag(49, 'X');
    const std::string style(19, 'S');
    EntityList list = holes_list(
        {{0, 0, 1e300, 360.0, tag.c_str(), style.c_str()}, {0, 0, 1, 360.0}, {7, 7, 2, 360.0}});
    const std::string entry = format_hole_entry(list[0]);
    ASSERT_GT(entry.size(), kMaxKeyChars);
    const int p = build_positions(list, 3).count;
    expect_positions(list, p, {{0, entry.substr(0, 330), 360.0}, {2, kR2, 360.0}});
}

}  // namespace
