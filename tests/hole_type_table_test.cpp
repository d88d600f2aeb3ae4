// The hole type table: reading position keys into rows, and the chart order
// of positions with their rows.
#include "chart/hole_type_table.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chart/hole_collection.hpp"
#include "util/fixed_text.hpp"
#include "util/number_text.hpp"

namespace {

EntityRecord make_position(int id, double x, double y, const std::string& key,
                           double point_size = 360.0) {
    EntityRecord r;
    r.id = id;
    copy_text(r.shape, "C");
    r.center = Point{x, y};
    r.point_size = point_size;
    store_key_area(r, key);
    return r;
}

EntityList list_of(const std::vector<EntityRecord>& records) {
    EntityList list;
    list.records = records;
    list.records.emplace_back();
    return list;
}

HoleTypeRow parse_one(const std::string& key) {
    const EntityList list = list_of({make_position(0, 0, 0, key)});
    const std::vector<HoleTypeRow> rows = parse_type_rows(list, 1);
    EXPECT_EQ(rows.size(), 1u);
    return rows.empty() ? HoleTypeRow{} : rows[0];
}

std::vector<int> ids_of(const EntityList& list, int n) {
    std::vector<int> ids;
    for (int i = 0; i < n; ++i) {
        ids.push_back(list[static_cast<std::size_t>(i)].id);
    }
    return ids;
}

// Each row must still describe the record in its slot.
void expect_rows_follow_records(const EntityList& list, const std::vector<HoleTypeRow>& rows) {
    for (std::size_t t = 0; t < rows.size(); ++t) {
        const HoleTypeRow fresh = parse_one(read_key_area(list[t]));
        ASSERT_EQ(rows[t].circle_count, fresh.circle_count) << "slot " << t;
        for (int k = 0; k < fresh.circle_count; ++k) {
            EXPECT_EQ(rows[t].type_code[k], fresh.type_code[k]) << "slot " << t;
            EXPECT_EQ(rows[t].type_value[k], fresh.type_value[k]) << "slot " << t;
            EXPECT_STREQ(rows[t].style[k], fresh.style[k]) << "slot " << t;
            EXPECT_EQ(rows[t].hole_radius[k], fresh.hole_radius[k]) << "slot " << t;
            EXPECT_EQ(rows[t].hole_sweep[k], fresh.hole_sweep[k]) << "slot " << t;
        }
    }
}

// ------------------------------------------------------ the worked example

EntityList example_positions() {
    return list_of({make_position(0, 10, 40, "3_0_ByL_2.50000_360.00000"),
                    make_position(1, 10, 20, "3_0_ByL_2.50000_360.00000"),
                    make_position(2, 30, 20, "5_ByL_3.00000_360.00000,5_ByL_6.00000_360.00000")});
}

TEST(ParseTypeRowsTest, ThreePositionExample) {
    const EntityList list = example_positions();
    const std::vector<HoleTypeRow> rows = parse_type_rows(list, 3);
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
    EntityList list = example_positions();
    std::vector<HoleTypeRow> rows = parse_type_rows(list, 3);
    order_positions(list, rows, 3, 0.0, 0.0);
    // (30, 20), (10, 40), (10, 20).
    EXPECT_EQ(ids_of(list, 3), (std::vector<int>{2, 0, 1}));
    EXPECT_EQ(list[0].center.x, 30.0);
    EXPECT_EQ(list[1].center.y, 40.0);
    EXPECT_EQ(list[2].center.y, 20.0);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].circle_count, 2);
    EXPECT_EQ(rows[0].hole_radius[1], 6.0);
    expect_rows_follow_records(list, rows);
    EXPECT_EQ(list[3].id, 0);
}

TEST(OrderPositionsTest, SinglePositionIsLeftAsItIs) {
    EntityList list = list_of({make_position(7, 1, 2, "2_ByL_1.00000_200.00000", 200.0)});
    std::vector<HoleTypeRow> rows = parse_type_rows(list, 1);
    ASSERT_EQ(rows.size(), 1u);
    order_positions(list, rows, 1, 5.0, 5.0);
    EXPECT_EQ(list[0].id, 7);
    EXPECT_EQ(rows[0].type_code[0], 2);
    EXPECT_EQ(rows[0].hole_sweep[0], 200.0);
}

// --------------------------------------------------------- entry fields

struct EntryCase {
    const char* entry;
    int32_t code;
    double value;
    const char* style;
    double radius;
    double sweep;
};

TEST(ParseTypeRowsTest, EntryFieldsByFieldCount) {
    const std::vector<EntryCase> cases = {
        // Tag with an underscore: five fields, the second is the depth.
        {"3_0_ByL_2.50000_360.00000", 3, 0.0, "ByL", 2.5, 360.0},
        {"2_12.5_HIDDEN_4.00000_270.00000", 2, 12.5, "HIDDEN", 4.0, 270.0},
        // Tag without one: four fields, no depth.
        {"7_ByL_2.50000_360.00000", 7, 0.0, "ByL", 2.5, 360.0},
        // Fields after the fifth are ignored.
        {"5_2.5_ByL_1.00000_360.00000_9", 5, 2.5, "ByL", 1.0, 360.0},
        // Leading-number conversions.
        {"M6_ByL_3.00000_360.00000", 0, 0.0, "ByL", 3.0, 360.0},
        {"4x_1.5mm_ByL_1.00000_200.00000", 4, 1.5, "ByL", 1.0, 200.0},
        {"-2_ByL_1_360", -2, 0.0, "ByL", 1.0, 360.0},
        // Runs of underscores act as one separator.
        {"3__ByL_1_360", 3, 0.0, "ByL", 1.0, 360.0},
        {"_3_ByL_1_360_", 3, 0.0, "ByL", 1.0, 360.0},
        // Missing fields read as empty.
        {"3_ByL_2.5", 3, 0.0, "ByL", 2.5, 0.0},
        {"3", 3, 0.0, "", 0.0, 0.0},
        // Styles keep at most nine characters.
        {"3_0_ABCDEFGHIJKL_1.00000_360.00000", 3, 0.0, "ABCDEFGHI", 1.0, 360.0},
        {"3_ABCDEFGHI_1_360", 3, 0.0, "ABCDEFGHI", 1.0, 360.0},
        {"3_ABCDEFGH_1_360", 3, 0.0, "ABCDEFGH", 1.0, 360.0},
    };
    for (const EntryCase& c : cases) {
        const HoleTypeRow row = parse_one(c.entry);
        ASSERT_EQ(row.circle_count, 1) << c.entry;
        EXPECT_EQ(row.type_code[0], c.code) << c.entry;
        EXPECT_EQ(row.type_value[0], c.value) << c.entry;
        EXPECT_STREQ(row.style[0], c.style) << c.entry;
        EXPECT_EQ(row.hole_radius[0], c.radius) << c.entry;
        EXPECT_EQ(row.hole_sweep[0], c.sweep) << c.entry;
    }
}

std::string numbered_entries(int count) {
    std::string key;
    for (int k = 1; k <= count; ++k) {
        if (k > 1) {
            key.push_back(',');
        }
        key += "1_S_" + std::to_string(k) + "_360";
    }
    return key;
}

TEST(ParseTypeRowsTest, CircleCountIsEntryCountUpToTen) {
    struct CountCase {
        std::string key;
        int32_t count;
    };
    const std::vector<CountCase> cases = {
        {"", 0},
        {numbered_entries(1), 1},
        {numbered_entries(9), 9},
        {numbered_entries(10), 10},
        {numbered_entries(11), 10},
        {numbered_entries(25), 10},
        {",1_S_1_360,,1_S_2_360,", 2},
    };
    for (const CountCase& c : cases) {
        const HoleTypeRow row = parse_one(c.key);
        EXPECT_EQ(row.circle_count, c.count) << c.key;
        // The slots hold the leading entries, in key order.
        for (int k = 0; k < row.circle_count; ++k) {
            EXPECT_EQ(row.hole_radius[k], k + 1.0) << c.key;
        }
    }
}

TEST(ParseTypeRowsTest, EntryCutByThe255CharacterLimitIsLeftOut) {
    // A first entry padded with z zeros in its depth and eight entries of 25
    // characters make 234 + z characters; the tenth entry starts after a
    // comma at index 234 + z. Only the first 255 characters are split, and an
    // entry that runs past them is left out rather than read from its cut
    // fields (which would print a wrong diameter).
    struct CutCase {
        int zeros;
        const char* tenth;
        int32_t count;
    };
    const std::vector<CutCase> cases = {
        {0, "4_1.25_LONGSTYLE_7.50000_360.00000", 9},   // cut inside its radius
        {3, "4_1.25_LONGSTYLE_7.50000_360.00000", 9},   // cut after a separator
        {13, "4_1.25_LONGSTYLE_7.50000_360.00000", 9},  // only "4_1.25_" seen
        {19, "4_1.25_LONGSTYLE_7.50000_360.00000", 9},  // only "4" seen
        {20, "4_1.25_LONGSTYLE_7.50000_360.00000", 9},  // only its comma seen
        {7, "4_1_S_7.5_360", 10},                       // ends on the 255th character
    };
    for (const CutCase& c : cases) {
        std::string key =
            "3_0." + std::string(static_cast<std::size_t>(c.zeros), '0') + "_ByL_2.50000_360.00000";
        for (int k = 0; k < 8; ++k) {
            key += ",3_0_ByL_2.50000_360.00000";
        }
        ASSERT_EQ(key.size(), 234u + static_cast<std::size_t>(c.zeros));
        key += std::string(",") + c.tenth + ",9_ByL_1.00000_360.00000";
        ASSERT_EQ(read_key_area(make_position(0, 0, 0, key)), key);

        const HoleTypeRow row = parse_one(key);
        ASSERT_EQ(row.circle_count, c.count) << "zeros " << c.zeros;
        for (int k = 0; k < 9; ++k) {
            EXPECT_EQ(row.type_code[k], 3) << "zeros " << c.zeros;
            EXPECT_EQ(row.type_value[k], 0.0) << "zeros " << c.zeros;
            EXPECT_STREQ(row.style[k], "ByL") << "zeros " << c.zeros;
            EXPECT_EQ(row.hole_radius[k], 2.5) << "zeros " << c.zeros;
            EXPECT_EQ(row.hole_sweep[k], 360.0) << "zeros " << c.zeros;
        }
        if (c.count == 10) {
            EXPECT_EQ(row.type_code[9], 4);
            EXPECT_EQ(row.type_value[9], 1.0);
            EXPECT_STREQ(row.style[9], "S");
            EXPECT_EQ(row.hole_radius[9], 7.5);
            EXPECT_EQ(row.hole_sweep[9], 360.0);
        }
    }
}

TEST(ParseTypeRowsTest, FirstEntryLongerThanTheLimitLeavesNoHole) {
    // A radius of 1e300 prints with 301 digits: the only entry is cut, so the
    // row describes no hole, which the run reports instead of charting.
    std::string key = "3_0_ByL_";
    append_fixed(key, 1e300, 5);
    key += "_360.00000";
    ASSERT_GT(key.size(), 255u);
    EXPECT_EQ(parse_one(key).circle_count, 0);
}

TEST(ParseTypeRowsTest, KeysFromCollectedHoles) {
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
    const int p = build_position_keys(list, n);
    ASSERT_EQ(p, 2);
    const std::vector<HoleTypeRow> rows = parse_type_rows(list, p);
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

struct PairCase {
    const char* name;
    std::string key_i;
    double sweep_i;
    Point at_i;
    std::string key_j;
    double sweep_j;
    Point at_j;
    bool exchange;
    Point origin = {0.0, 0.0};
};

void PrintTo(const PairCase& c, std::ostream* os) {
    *os << c.name;
}

class PositionPairTest : public ::testing::TestWithParam<PairCase> {};

TEST_P(PositionPairTest, DecidesAndOrders) {
    const PairCase& c = GetParam();
    EntityList list = list_of({make_position(0, c.at_i.x, c.at_i.y, c.key_i, c.sweep_i),
                               make_position(1, c.at_j.x, c.at_j.y, c.key_j, c.sweep_j)});
    std::vector<HoleTypeRow> rows = parse_type_rows(list, 2);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(should_exchange_positions(list[0], rows[0], list[1], rows[1], c.origin.x, c.origin.y),
              c.exchange);
    order_positions(list, rows, 2, c.origin.x, c.origin.y);
    EXPECT_EQ(ids_of(list, 2), c.exchange ? (std::vector<int>{1, 0}) : (std::vector<int>{0, 1}));
    expect_rows_follow_records(list, rows);
}

const std::string k30 = "3_0_ByL_2.50000_360.00000";
const std::string k5 = "5_ByL_2.50000_360.00000";
const std::string k1 = "1_ByL_2.50000_360.00000";
const std::string k12 = "12_ByL_2.50000_360.00000";
const std::string k30x2 = k30 + "," + k30;
const std::string k30k5 = k30 + "," + k5;

INSTANTIATE_TEST_SUITE_P(
    Steps, PositionPairTest,
    ::testing::Values(
        // The tag's first character decides before anything else.
        PairCase{"HigherFirstCharacterFirst", k30, 360, {0, 40}, k5, 360, {0, 10}, true},
        PairCase{"LowerFirstCharacterStays", k5, 360, {0, 10}, k30, 360, {0, 40}, false},
        // Compared as signed characters: a byte above 127 counts as negative.
        PairCase{"HighBitCharacterGoesLast",
                 "\xC3_ByL_2.50000_360.00000",
                 360,
                 {0, 40},
                 k30,
                 360,
                 {0, 10},
                 true},
        PairCase{"HighBitCharacterLaterStays",
                 k30,
                 360,
                 {0, 10},
                 "\xC3_ByL_2.50000_360.00000",
                 360,
                 {0, 40},
                 false},
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
        PairCase{"RadiusStyleDepthIgnored",
                 "3_9_DASHED_9.00000_360.00000",
                 360,
                 {0, 10},
                 "3_0_ByL_1.00000_360.00000",
                 360,
                 {0, 20},
                 true},
        PairCase{"OriginDoesNotChangePlainOrder",
                 k30,
                 360,
                 {10, 20},
                 k30,
                 360,
                 {5, 20.005},
                 true,
                 {100.0, -50.0}}),
    [](const ::testing::TestParamInfo<PairCase>& info) { return std::string(info.param.name); });

}  // namespace
