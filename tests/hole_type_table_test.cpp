// The hole type table: describing the holes of a position in its row, and
// the chart order of positions with their rows.
#include "chart/hole_type_table.hpp"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "chart/hole_collection.hpp"
#include "tests/support/named_case.hpp"
#include "tests/support/record_fields.hpp"
#include "util/fixed_text.hpp"
#include "util/number_text.hpp"

namespace {

using testsupport::ids_of;
using testsupport::list_of;

struct HoleSpec {
    const char* tag = "3_0";
    const char* style = "ByL";
    double radius = 2.5;
    double sweep = 360.0;
};
using Holes = std::vector<HoleSpec>;

EntityRecord make_hole(const HoleSpec& h, double x = 0.0, double y = 0.0) {
    EntityRecord r;
    copy_text(r.shape, std::string_view(h.sweep >= 359.999 ? "C" : "A"));
    copy_text(r.tag, h.tag);
    copy_text(r.line_style, h.style);
    r.center = Point{x, y};
    r.radius = h.radius;
    r.sweep = h.sweep;
    return r;
}

HoleTypeRow row_of(const Holes& holes) {
    HoleTypeRow row;
    for (const HoleSpec& h : holes) {
        add_hole_to_row(row, make_hole(h));
    }
    return row;
}

// A position record as build_positions leaves it: the key of its holes in
// the key area (the order reads its first character), and the sweep that
// the order compares in point_size.
EntityRecord make_position(int id, double x, double y, const Holes& holes,
                           double point_size = 360.0) {
    EntityRecord r;
    r.id = id;
    copy_text(r.shape, "C");
    r.center = Point{x, y};
    r.point_size = point_size;
    std::string key;
    for (const HoleSpec& h : holes) {
        key += (key.empty() ? "" : ",") + format_hole_entry(make_hole(h, x, y));
    }
    store_key_area(r, key);
    return r;
}

// Each row must still be the row of the record in its slot; rows_by_id
// holds the rows as they were made, indexed by the records' ids.
void expect_rows_follow_records(const EntityList& list, const std::vector<HoleTypeRow>& rows,
                                const std::vector<HoleTypeRow>& rows_by_id) {
    for (std::size_t t = 0; t < rows.size(); ++t) {
        const HoleTypeRow& made = rows_by_id[static_cast<std::size_t>(list[t].id)];
        ASSERT_EQ(rows[t].circle_count, made.circle_count) << "slot " << t;
        for (int k = 0; k < made.circle_count; ++k) {
            EXPECT_EQ(rows[t].type_code[k], made.type_code[k]) << "slot " << t;
            EXPECT_EQ(rows[t].type_value[k], made.type_value[k]) << "slot " << t;
            EXPECT_STREQ(rows[t].style[k], made.style[k]) << "slot " << t;
            EXPECT_EQ(rows[t].hole_radius[k], made.hole_radius[k]) << "slot " << t;
            EXPECT_EQ(rows[t].hole_sweep[k], made.hole_sweep[k]) << "slot " << t;
        }
    }
}

// ------------------------------------------------------ the worked example

// Two single holes and a counterbore, as order_holes leaves them; ids 0 to 3.
EntityList example_holes() {
    std::vector<EntityRecord> holes = {
        make_hole({"3_0", "ByL", 2.5}, 10, 40), make_hole({"3_0", "ByL", 2.5}, 10, 20),
        make_hole({"5", "ByL", 3.0}, 30, 20), make_hole({"5", "ByL", 6.0}, 30, 20)};
    for (std::size_t i = 0; i < holes.size(); ++i) {
        holes[i].id = static_cast<int>(i);
    }
    return list_of(holes);
}

TEST(TypeRowsTest, ThreePositionExample) {
    EntityList list = example_holes();
    const HolePositions positions = build_positions(list, 4);
    ASSERT_EQ(positions.count, 3);
    const std::vector<HoleTypeRow>& rows = positions.rows;
    ASSERT_EQ(rows.size(), 3u);
    for (int t = 0; t < 2; ++t) {
        EXPECT_EQ(rows[t].circle_count, 1);
        EXPECT_EQ(rows[t].type_code[0], 3);
        EXPECT_EQ(rows[t].type_value[0], 0.0);
        EXPECT_STREQ(rows[t].style[0], "ByL");
        EXPECT_EQ(rows[t].hole_radius[0], 2.5);
        EXPECT_EQ(rows[t].hole_sweep[0], 360.0);
    }
    EXPECT_EQ(rows[2].circle_count, 2);
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(rows[2].type_code[k], 5);
        EXPECT_EQ(rows[2].type_value[k], 0.0);
        EXPECT_STREQ(rows[2].style[k], "ByL");
        EXPECT_EQ(rows[2].hole_sweep[k], 360.0);
    }
    EXPECT_EQ(rows[2].hole_radius[0], 3.0);
    EXPECT_EQ(rows[2].hole_radius[1], 6.0);
}

TEST(OrderPositionsTest, ThreePositionExample) {
    EntityList list = example_holes();
    HolePositions positions = build_positions(list, 4);
    ASSERT_EQ(positions.count, 3);
    const std::vector<HoleTypeRow> rows_by_id = positions.rows;
    std::vector<HoleTypeRow>& rows = positions.rows;
    order_positions(list, rows, 3, 0.0, 0.0);
    // (30, 20), (10, 40), (10, 20).
    EXPECT_EQ(ids_of(list, 3), (std::vector<int>{2, 0, 1}));
    EXPECT_EQ(list[0].center.x, 30.0);
    EXPECT_EQ(list[1].center.y, 40.0);
    EXPECT_EQ(list[2].center.y, 20.0);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].circle_count, 2);
    EXPECT_EQ(rows[0].hole_radius[1], 6.0);
    expect_rows_follow_records(list, rows, rows_by_id);
    // Records past the positions are left alone.
    EXPECT_EQ(list[3].id, 3);
}

TEST(OrderPositionsTest, SinglePositionIsLeftAsItIs) {
    const Holes holes = {{"2", "ByL", 1.0, 200.0}};
    EntityList list = list_of({make_position(7, 1, 2, holes, 200.0)});
    std::vector<HoleTypeRow> rows = {row_of(holes)};
    order_positions(list, rows, 1, 5.0, 5.0);
    EXPECT_EQ(list[0].id, 7);
    EXPECT_EQ(rows[0].type_code[0], 2);
    EXPECT_EQ(rows[0].hole_sweep[0], 200.0);
}

// ------------------------------------------------------- one hole's slot

struct SlotCase {
    HoleSpec hole;
    int32_t code;
    double value;
    const char* style;
    double radius;
    double sweep;
};

TEST(TypeRowsTest, SlotFromTheHolesOwnFields) {
    const std::vector<SlotCase> cases = {
        {{"3_0", "ByL", 2.5, 360.0}, 3, 0.0, "ByL", 2.5, 360.0},
        {{"2_12.5", "HIDDEN", 4.0, 270.0}, 2, 12.5, "HIDDEN", 4.0, 270.0},
        // The tag: code, then depth; no depth reads as 0, parts after the
        // depth are ignored, runs of underscores act as one.
        {{"7"}, 7, 0.0, "ByL", 2.5, 360.0},
        {{"2_12_5"}, 2, 12.0, "ByL", 2.5, 360.0},
        {{"5_2.5_9_ByL"}, 5, 2.5, "ByL", 2.5, 360.0},
        {{"3__2"}, 3, 2.0, "ByL", 2.5, 360.0},
        {{"_3_"}, 3, 0.0, "ByL", 2.5, 360.0},
        // A decimal comma in the depth, and no extra hole from it.
        {{"2_12,5"}, 2, 12.5, "ByL", 2.5, 360.0},
        {{"2,5"}, 2, 0.0, "ByL", 2.5, 360.0},
        // Leading-number conversions.
        {{"M6"}, 0, 0.0, "ByL", 2.5, 360.0},
        {{"4x_1.5mm"}, 4, 1.5, "ByL", 2.5, 360.0},
        {{"-2"}, -2, 0.0, "ByL", 2.5, 360.0},
        // Styles are taken whole, underscores and commas included, up to
        // the nine characters of their slot.
        {{"3_0", "ISO_02"}, 3, 0.0, "ISO_02", 2.5, 360.0},
        {{"3_0", "ACAD_ISO02W100"}, 3, 0.0, "ACAD_ISO0", 2.5, 360.0},
        {{"7", "HID_DEN"}, 7, 0.0, "HID_DEN", 2.5, 360.0},
        {{"3_0", "A,B"}, 3, 0.0, "A,B", 2.5, 360.0},
        {{"3_0", "ABCDEFGHI"}, 3, 0.0, "ABCDEFGHI", 2.5, 360.0},
        {{"3_0", "ABCDEFGH"}, 3, 0.0, "ABCDEFGH", 2.5, 360.0},
        // Radius and sweep as the key prints them, with five decimals.
        {{"5_2.5", "HIDDEN", 2.123456, 359.999999}, 5, 2.5, "HIDDEN", 2.12346, 360.0},
        {{"3_0", "ByL", 0.1 + 0.2, 200.000004}, 3, 0.0, "ByL", 0.3, 200.0},
        {{"3_0", "ByL", -2.5, 360.0}, 3, 0.0, "ByL", -2.5, 360.0},
    };
    for (const SlotCase& c : cases) {
        const std::string what = std::string(c.hole.tag) + " " + c.hole.style;
        const HoleTypeRow row = row_of({c.hole});
        ASSERT_EQ(row.circle_count, 1) << what;
        EXPECT_EQ(row.type_code[0], c.code) << what;
        EXPECT_EQ(row.type_value[0], c.value) << what;
        EXPECT_STREQ(row.style[0], c.style) << what;
        EXPECT_EQ(row.hole_radius[0], c.radius) << what;
        EXPECT_EQ(row.hole_sweep[0], c.sweep) << what;
    }
}

// ------------------------------------------------- the holes of a position

TEST(TypeRowsTest, RowHoldsTheFirstTenHolesInHoleOrder) {
    for (const int n : {1, 9, 10, 11, 25}) {
        // n holes of radii 1 to n at one centre, then one elsewhere.
        std::vector<EntityRecord> records;
        for (int k = 1; k <= n; ++k) {
            records.push_back(make_hole({"3_0", "ByL", 1.0 * k}));
        }
        records.push_back(make_hole({"7", "ByL", 50.0}, 90, 0));
        EntityList list = list_of(records);
        const HolePositions positions = build_positions(list, n + 1);
        ASSERT_EQ(positions.count, 2) << n << " holes";
        const HoleTypeRow& row = positions.rows[0];
        EXPECT_EQ(row.circle_count, n < kMaxCirclesPerRow ? n : kMaxCirclesPerRow);
        for (int k = 0; k < row.circle_count; ++k) {
            EXPECT_EQ(row.hole_radius[k], k + 1.0) << n << " holes";
        }
        // The next position starts a row of its own.
        EXPECT_EQ(positions.rows[1].circle_count, 1) << n << " holes";
        EXPECT_EQ(positions.rows[1].type_code[0], 7) << n << " holes";
        EXPECT_EQ(positions.rows[1].hole_radius[0], 50.0) << n << " holes";
    }
}

TEST(TypeRowsTest, RowDoesNotDependOnTheLengthOfTheKey) {
    // Entries of 70 characters: the key passes 255 characters with its
    // fourth entry and the key area with its fifth, yet every hole up to
    // the tenth is described, the last one in full.
    const std::string tag = "2_12.5" + std::string(39, 'x');
    std::vector<EntityRecord> records;
    for (int k = 1; k <= 10; ++k) {
        records.push_back(make_hole({tag.c_str(), "ISO_02", 1.0 * k, 270.0}));
    }
    EntityList list = list_of(records);
    ASSERT_EQ(format_hole_entry(list[0]).size(), 70u);
    const HolePositions positions = build_positions(list, 10);
    ASSERT_EQ(positions.count, 1);
    ASSERT_EQ(read_key_area(list[0]).size(), 4 * 70u + 3);
    const HoleTypeRow& row = positions.rows[0];
    ASSERT_EQ(row.circle_count, 10);
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(row.type_code[k], 2) << "hole " << k;
        EXPECT_EQ(row.type_value[k], 12.5) << "hole " << k;
        EXPECT_STREQ(row.style[k], "ISO_02") << "hole " << k;
        EXPECT_EQ(row.hole_radius[k], k + 1.0) << "hole " << k;
        EXPECT_EQ(row.hole_sweep[k], 270.0) << "hole " << k;
    }
}

TEST(TypeRowsTest, HugeRadiusIsDescribedForTheValueCheck) {
    // Its entry alone passes the key area; the row still describes the hole
    // with the radius as printed, and the value check then refuses it.
    std::string printed;
    append_fixed(printed, 1e300, 5);
    const HoleTypeRow row = row_of({{"3_0", "ByL", 1e300}});
    ASSERT_EQ(row.circle_count, 1);
    EXPECT_EQ(row.hole_radius[0], leading_real(printed));
}

TEST(TypeRowsTest, RowsFromCollectedHoles) {
    // An untagged circle and a tagged arc around one centre, and a hole
    // tagged without a depth elsewhere.
    EntityRecord circle;
    copy_text(circle.shape, "C");
    circle.radius = 2.5;
    circle.sweep = 360.0;
    EntityRecord arc = circle;
    copy_text(arc.shape, "A");
    copy_text(arc.tag, "4_12.5");
    arc.radius = 4.0;
    arc.sweep = 270.0;
    EntityRecord other = circle;
    copy_text(other.tag, "2");
    copy_text(other.line_style, "CENTERLINE");
    other.center = Point{20.0, 0.0};
    EntityList list = list_of({circle, arc, other});
    const int n = collect_holes(list, 3);
    ASSERT_EQ(n, 3);
    order_holes(list, n);
    const HolePositions positions = build_positions(list, n);
    ASSERT_EQ(positions.count, 2);
    const std::vector<HoleTypeRow>& rows = positions.rows;
    ASSERT_EQ(rows.size(), 2u);

    EXPECT_EQ(rows[0].circle_count, 2);
    EXPECT_EQ(rows[0].type_code[0], 3);
    EXPECT_EQ(rows[0].type_value[0], 0.0);
    EXPECT_EQ(rows[0].hole_radius[0], 2.5);
    EXPECT_EQ(rows[0].type_code[1], 4);
    EXPECT_EQ(rows[0].type_value[1], 12.5);
    EXPECT_EQ(rows[0].hole_radius[1], 4.0);
    EXPECT_EQ(rows[0].hole_sweep[1], 270.0);

    EXPECT_EQ(rows[1].circle_count, 1);
    EXPECT_EQ(rows[1].type_code[0], 2);
    EXPECT_EQ(rows[1].type_value[0], 0.0);
    EXPECT_STREQ(rows[1].style[0], "CENTERLIN");
}

// ------------------------------------------------------- pair decisions

struct PairCase : testsupport::NamedCase {
    Holes holes_i;
    double sweep_i;
    Point at_i;
    Holes holes_j;
    double sweep_j;
    Point at_j;
    bool exchange;
    Point origin = {0.0, 0.0};
};

class PositionPairTest : public ::testing::TestWithParam<PairCase> {};

TEST_P(PositionPairTest, DecidesAndOrders) {
    const PairCase& c = GetParam();
    EntityList list = list_of({make_position(0, c.at_i.x, c.at_i.y, c.holes_i, c.sweep_i),
                               make_position(1, c.at_j.x, c.at_j.y, c.holes_j, c.sweep_j)});
    const std::vector<HoleTypeRow> rows_by_id = {row_of(c.holes_i), row_of(c.holes_j)};
    std::vector<HoleTypeRow> rows = rows_by_id;
    EXPECT_EQ(should_exchange_positions(list[0], rows[0], list[1], rows[1], c.origin.x, c.origin.y),
              c.exchange);
    order_positions(list, rows, 2, c.origin.x, c.origin.y);
    EXPECT_EQ(ids_of(list, 2), c.exchange ? (std::vector<int>{1, 0}) : (std::vector<int>{0, 1}));
    expect_rows_follow_records(list, rows, rows_by_id);
}

const Holes k30 = {{"3_0"}};
const Holes k5 = {{"5"}};
const Holes k1 = {{"1"}};
const Holes k12 = {{"12"}};
const Holes k30x2 = {{"3_0"}, {"3_0"}};
const Holes k30k5 = {{"3_0"}, {"5"}};
// The same codes as k30, with another style, radius and depth.
const Holes k39Dashed = {{"3_9", "DASHED", 9.0}};
const Holes k30Small = {{"3_0", "ByL", 1.0}};
const Point kFarOrigin = {100.0, -50.0};

INSTANTIATE_TEST_SUITE_P(
    Steps, PositionPairTest,
    ::testing::Values(
        // The tag's first character decides before anything else.
        PairCase{"HigherFirstCharacterFirst", k30, 360, {0, 40}, k5, 360, {0, 10}, true},
        PairCase{"LowerFirstCharacterStays", k5, 360, {0, 10}, k30, 360, {0, 40}, false},
        // Compared as signed characters: a byte above 127 counts as negative.
        PairCase{"HighBitCharacterGoesLast", {{"\xC3"}}, 360, {0, 40}, k30, 360, {0, 10}, true},
        PairCase{"HighBitCharacterLaterStays", k30, 360, {0, 10}, {{"\xC3"}}, 360, {0, 40}, false},
        // Same first character: the type code decides, 12 before 1.
        PairCase{"TypeCode12Before1", k1, 360, {0, 40}, k12, 360, {0, 10}, true},
        PairCase{"TypeCode1After12Stays", k12, 360, {0, 10}, k1, 360, {0, 40}, false},
        PairCase{"MoreHolesFirst", k30, 360, {0, 40}, k30x2, 360, {0, 10}, true},
        PairCase{"FewerHolesLaterStays", k30x2, 360, {0, 10}, k30, 360, {0, 40}, false},
        // (3, 3) against (3, 5): the second hole decides.
        PairCase{"SecondCodeDecides", k30x2, 360, {0, 40}, k30k5, 360, {0, 10}, true},
        PairCase{"SecondCodeDecidesKeep", k30k5, 360, {0, 10}, k30x2, 360, {0, 40}, false},
        // The first hole's sweep is read from point_size.
        PairCase{"FullCircleBefore270", k30, 270, {0, 40}, k30, 360, {0, 10}, true},
        PairCase{"ArcAfterFullCircleStays", k30, 360, {0, 10}, k30, 270, {0, 40}, false},
        PairCase{
            "SweepsWithinTenthFallThroughToPlace", k30, 359.95, {0, 10}, k30, 360, {0, 20}, true},
        PairCase{"SweepsOverTenthApartDecide", k30, 359.85, {0, 40}, k30, 360, {0, 10}, true},
        PairCase{"HigherCentreFirst", k30, 360, {0, 10}, k30, 360, {0, 20}, true},
        PairCase{"LowerCentreLaterStays", k30, 360, {0, 20}, k30, 360, {50, 10}, false},
        // Within 0.01 in y: the one further left first.
        PairCase{"SameRowLeftFirst", k30, 360, {10, 20}, k30, 360, {5, 20.005}, true},
        PairCase{"SameRowLeftAlreadyFirst", k30, 360, {5, 20.005}, k30, 360, {10, 20}, false},
        // Within 0.01 in both: the order is kept.
        PairCase{"SamePlaceKeepsOrder", k30, 360, {5.005, 20}, k30, 360, {5, 20.005}, false},
        PairCase{
            "SamePlaceKeepsOrderOtherWay", k30, 360, {5, 20.005}, k30, 360, {5.005, 20}, false},
        // Radii, styles and depths take no part.
        PairCase{"RadiusStyleDepthIgnored", k39Dashed, 360, {0, 10}, k30Small, 360, {0, 20}, true},
        PairCase{"OriginDoesNotChangePlainOrder",
                 k30,
                 360,
                 {10, 20},
                 k30,
                 360,
                 {5, 20.005},
                 true,
                 kFarOrigin}),
    [](const ::testing::TestParamInfo<PairCase>& info) { return std::string(info.param.name); });

}  // namespace
