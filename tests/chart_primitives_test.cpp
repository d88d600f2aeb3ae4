// The chart primitives: the fixed attributes of every chart record, the
// coordinate value texts, the column header's geometry at two text heights,
// and the chart list's shape after appends.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "chart/chart_primitives.hpp"
#include "chart/run_state.hpp"
#include "tests/support/record_fields.hpp"

namespace {

RunState make_state(double text_height, const char* absolute_flag = "N") {
    RunState state;
    state.settings.chart_text_height = text_height;
    std::snprintf(state.settings.absolute_flag, sizeof state.settings.absolute_flag, "%s",
                  absolute_flag);
    state.unit_factor = 2.5 / text_height;
    state.chart_list = entity_list_create(2);
    state.chart_count = 0;
    return state;
}

std::string fixed12(double v) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.12f", v);
    return buffer;
}

// A line or text record, reduced to what the result file shows of it.
std::string describe(const EntityRecord& r) {
    if (std::strcmp(r.kind, "LINE") == 0) {
        return "L " + fixed12(r.p1.x) + " " + fixed12(r.p1.y) + " " + fixed12(r.p2.x) + " " +
               fixed12(r.p2.y);
    }
    return std::string("T ") + fixed12(r.p1.x) + " " + fixed12(r.p1.y) + " " + r.justify + " " +
           r.text;
}

std::string line(double x1, double y1, double x2, double y2) {
    return "L " + fixed12(x1) + " " + fixed12(y1) + " " + fixed12(x2) + " " + fixed12(y2);
}

std::string text(double x, double y, const char* justify, const char* t) {
    return "T " + fixed12(x) + " " + fixed12(y) + " " + justify + " " + t;
}

std::vector<std::string> describe_all(const RunState& state) {
    std::vector<std::string> out;
    for (int i = 0; i < state.chart_count; ++i) {
        out.push_back(describe(state.chart_list[static_cast<std::size_t>(i)]));
    }
    return out;
}

TEST(ChartPrimitives, EveryRecordCarriesTheChartAttributes) {
    RunState state = make_state(3.5);
    chart_add_line(state, 1, 2, 3, 4);
    chart_add_number(state, 5, 6, 7);
    chart_add_hole_mark(state, 8, 9, 10);
    chart_add_text(state, 11, 12, "%%C5.000");
    chart_add_value(state, 13, 14, 15.5, 1);
    chart_add_header(state, 100, 50);
    ASSERT_EQ(state.chart_count, 11);

    for (int i = 0; i < state.chart_count; ++i) {
        const EntityRecord& r = state.chart_list[static_cast<std::size_t>(i)];
        SCOPED_TRACE("record " + std::to_string(i));
        testsupport::expect_fields(
            r, "layer=HoleChart, color=3, line_type=ByL, line_style=ByL, tag=NO, id=0, handle=0");
        if (std::strcmp(r.kind, "LINE") == 0) {
            EXPECT_STREQ(r.shape, "L");
            EXPECT_EQ(r.seg_a, 0.0);
            EXPECT_EQ(r.seg_b, 0.0);
        } else {
            EXPECT_STREQ(r.kind, "TEXT");
            EXPECT_STREQ(r.shape, "T");
            EXPECT_EQ(r.text_height, 3.5);
            EXPECT_EQ(r.angle, 0.0);
            EXPECT_EQ(r.width_factor, 0.8);
        }
    }

    std::vector<std::string> first_five = describe_all(state);
    first_five.resize(5);
    EXPECT_EQ(first_five, (std::vector<std::string>{
                              line(1, 2, 3, 4),
                              text(5, 6, "BL", "7"),
                              text(8, 9, "MC", "10"),
                              text(11, 12, "BL", "%%C5.000"),
                              text(13, 14, "BC", "15.5"),
                          }));
}

struct ValueCase {
    double value;
    int decimals;
    const char* flag;
    const char* expected;
};

TEST(ChartPrimitives, ValueTextsRoundAndDropTheSignOnlyForCapitalY) {
    const ValueCase cases[] = {
        {-0.0004, 3, "N", "-0.000"},  {-0.0004, 3, "Y", "0.000"},
        {-0.0004, 3, "y", "-0.000"},  {-0.0004, 3, "YES", "-0.000"},
        {12.34567, 0, "N", "12"},     {12.34567, 4, "N", "12.3457"},
        {12.34567, 1, "N", "12.3"},   {12.34567, 2, "N", "12.35"},
        {-12.34567, 2, "Y", "12.35"}, {-12.34567, 2, "N", "-12.35"},
        {0.5, 0, "N", "0"},           {2.5, 0, "N", "2"},  // ties of the binary value go to even
        {-3.0, 2, "N", "-3.00"},      {1e6, 3, "N", "1000000.000"},
    };
    for (const ValueCase& c : cases) {
        RunState state = make_state(2.5, c.flag);
        chart_add_value(state, 20, 30, c.value, c.decimals);
        ASSERT_EQ(state.chart_count, 1);
        EXPECT_EQ(describe(state.chart_list[0]), text(20, 30, "BC", c.expected))
            << c.value << " with " << c.decimals << " decimals, flag " << c.flag;
    }
}

TEST(ChartPrimitives, NumberTextsBeyondTheBoundTurnToExponentNotation) {
    // 116 digits and ".000" are exactly 120 characters: still fixed.
    const std::string at_bound = format_chart_number(2e115, 3);
    EXPECT_EQ(at_bound.size(), kMaxValueChars);
    EXPECT_EQ(at_bound.substr(0, 1), "2");
    EXPECT_EQ(at_bound.substr(at_bound.size() - 4), ".000");
    // One character more, by a digit or by the sign, and exponent notation takes over.
    EXPECT_EQ(format_chart_number(2e116, 3), "2.000e+116");
    EXPECT_EQ(format_chart_number(-2e115, 3), "-2.000e+115");
    EXPECT_EQ(format_chart_number(-1e300, 0), "-1e+300");
}

TEST(ChartPrimitives, DecimalsOutsideTheRangeUseTheNearestOfZeroToFour) {
    EXPECT_EQ(format_chart_number(12.34567, -1), "12");
    EXPECT_EQ(format_chart_number(12.34567, 5), "12.3457");
    EXPECT_EQ(format_chart_number(12.34567, 12), "12.3457");
}

// The header of the column whose top right corner is (X, Y), each offset
// worked out from the nominal lengths divided by the unit factor.
std::vector<std::string> expected_header(double X, double Y, double u) {
    return {
        line(X, Y, X - 70.0 / u, Y),
        line(X - 30.0 / u, Y, X - 30.0 / u, Y - 8.0 / u),
        line(X - 60.0 / u, Y, X - 60.0 / u, Y - 8.0 / u),
        text(X - 70.0 / u + 2.3 / u, Y - 5.6 / u, "BL", "NO"),
        text(X - 60.0 / u + 13.8 / u, Y - 5.6 / u, "BL", "X"),
        text(X - 30.0 / u + 13.8 / u, Y - 5.6 / u, "BL", "Y"),
    };
}

TEST(ChartPrimitives, HeaderAtTextHeightTwoAndAHalf) {
    RunState state = make_state(2.5);
    chart_add_header(state, 100, 50);
    const std::vector<std::string> expected = {
        line(100, 50, 30, 50),        line(70, 50, 70, 42),        line(40, 50, 40, 42),
        text(32.3, 44.4, "BL", "NO"), text(53.8, 44.4, "BL", "X"), text(83.8, 44.4, "BL", "Y"),
    };
    EXPECT_EQ(describe_all(state), expected);
    EXPECT_EQ(describe_all(state), expected_header(100, 50, 1.0));
    // The exact doubles, not only their twelve decimals.
    EXPECT_EQ(state.chart_list[3].p1.x, 100.0 - 70.0 + 2.3);
    EXPECT_EQ(state.chart_list[4].p1.x, 100.0 - 60.0 + 13.8);
    EXPECT_EQ(state.chart_list[5].p1.y, 50.0 - 5.6);
}

TEST(ChartPrimitives, HeaderAtTextHeightFiveDoublesEveryOffset) {
    RunState state = make_state(5.0);
    chart_add_header(state, 100, 50);
    const std::vector<std::string> expected = {
        line(100, 50, -40, 50),        line(40, 50, 40, 34),       line(-20, 50, -20, 34),
        text(-35.4, 38.8, "BL", "NO"), text(7.6, 38.8, "BL", "X"), text(67.6, 38.8, "BL", "Y"),
    };
    EXPECT_EQ(describe_all(state), expected);
    EXPECT_EQ(describe_all(state), expected_header(100, 50, 0.5));
    for (int i = 3; i < 6; ++i) {
        EXPECT_EQ(state.chart_list[static_cast<std::size_t>(i)].text_height, 5.0);
    }
}

TEST(ChartPrimitives, HeaderAtAnUnevenTextHeightUsesOneDivisionPerLength) {
    // 2.5 / 1.8 is not exact, so the order of operations shows in the bits.
    RunState state = make_state(1.8);
    const double u = 2.5 / 1.8;
    chart_add_header(state, 123.456, 78.9);
    EXPECT_EQ(describe_all(state), expected_header(123.456, 78.9, u));
    EXPECT_EQ(state.chart_list[3].p1.x, 123.456 - 70.0 / u + 2.3 / u);
    EXPECT_EQ(state.chart_list[1].p2.y, 78.9 - 8.0 / u);
}

TEST(ChartPrimitives, ListKeepsADefaultedSlotAndASpareAfterEveryAppend) {
    RunState state = make_state(2.5);
    for (int i = 0; i < 6; ++i) {
        chart_add_header(state, 100.0 * i, 50);
        ASSERT_EQ(state.chart_count, 6 * (i + 1));
        ASSERT_EQ(state.chart_list.size(), static_cast<std::size_t>(state.chart_count) + 2);
    }
    EXPECT_EQ(state.chart_count, 36);
    // Earlier records are kept as appended.
    EXPECT_EQ(describe(state.chart_list[0]), line(0, 50, -70, 50));
    EXPECT_EQ(describe(state.chart_list[35]), text(500.0 - 30.0 + 13.8, 50.0 - 5.6, "BL", "Y"));
    // The slot at the count carries the entity defaults.
    testsupport::expect_fields(state.chart_list[36], testsupport::entity_defaults());
}

TEST(ChartPrimitives, TextsAreCopiedWholeUpToTheFieldsCapacity) {
    RunState state = make_state(2.5);
    const std::string long_label(260, 'A');
    chart_add_text(state, 0, 0, long_label.c_str());
    EXPECT_EQ(std::string(state.chart_list[0].text), long_label);
    chart_add_number(state, 0, 0, -2147483647 - 1);
    EXPECT_STREQ(state.chart_list[1].text, "-2147483648");
}

}  // namespace
