// The chart layout, driven directly with position records and type rows:
// the exact sequence of lines and texts for worked cases, column breaks,
// listing by hole type, the hole labels and the coordinate texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "chart/chart_layout.hpp"
#include "chart/chart_primitives.hpp"
#include "chart/hole_type_table.hpp"
#include "chart/run_state.hpp"

namespace {

struct Window {
    double x2;
    double y2;
    double y1;
};

RunState make_state(Window w, double text_height = 2.5, const char* absolute_flag = "N",
                    double origin_x = 0.0, double origin_y = 0.0) {
    RunState state;
    state.settings.chart_text_height = text_height;
    std::snprintf(state.settings.absolute_flag, sizeof state.settings.absolute_flag, "%s",
                  absolute_flag);
    state.window.x1 = w.x2 - 100.0;
    state.window.x2 = w.x2;
    state.window.y1 = w.y1;
    state.window.y2 = w.y2;
    state.unit_factor = 2.5 / text_height;
    state.origin_x = origin_x;
    state.origin_y = origin_y;
    state.chart_list = entity_list_create(2);
    state.chart_count = 0;
    return state;
}

struct Circle {
    int32_t code;
    double value;
    const char* style;
    double radius;
    double sweep;
};

HoleTypeRow row_of(std::initializer_list<Circle> circles) {
    HoleTypeRow row;
    for (const Circle& c : circles) {
        const int k = row.circle_count++;
        row.type_code[k] = c.code;
        row.type_value[k] = c.value;
        std::snprintf(row.style[k], kStyleSlotSize, "%s", c.style);
        row.hole_radius[k] = c.radius;
        row.hole_sweep[k] = c.sweep;
    }
    return row;
}

const HoleTypeRow kPlain = row_of({{3, 0.0, "ByL", 2.5, 360.0}});

// Position records at the given centres, with entity numbers from 1.
EntityList positions_at(const std::vector<Point>& centres) {
    EntityList list = entity_list_create(static_cast<int>(centres.size()));
    for (std::size_t i = 0; i < centres.size(); ++i) {
        list[i].id = static_cast<int32_t>(i + 1);
        list[i].center = centres[i];
    }
    return list;
}

std::string fixed12(double v) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.12f", v);
    return buffer;
}

std::string line(double x1, double y1, double x2, double y2) {
    return "L " + fixed12(x1) + " " + fixed12(y1) + " " + fixed12(x2) + " " + fixed12(y2);
}

std::string text(double x, double y, const char* justify, const std::string& t) {
    return "T " + fixed12(x) + " " + fixed12(y) + " " + justify + " " + t;
}

std::string describe(const EntityRecord& r) {
    if (std::strcmp(r.kind, "LINE") == 0) {
        return line(r.p1.x, r.p1.y, r.p2.x, r.p2.y);
    }
    return text(r.p1.x, r.p1.y, r.justify, r.text);
}

std::vector<std::string> chart_of(const RunState& state) {
    std::vector<std::string> out;
    for (int i = 0; i < state.chart_count; ++i) {
        out.push_back(describe(state.chart_list[static_cast<std::size_t>(i)]));
    }
    return out;
}

// The header of a column, at the nominal size of text height 2.5 (the
// primitives' own tests check it against the worked numbers).
std::vector<std::string> header(double X, double Y) {
    return {
        line(X, Y, X - 70.0, Y),
        line(X - 30.0, Y, X - 30.0, Y - 8.0),
        line(X - 60.0, Y, X - 60.0, Y - 8.0),
        text(X - 70.0 + 2.3, Y - 5.6, "BL", "NO"),
        text(X - 60.0 + 13.8, Y - 5.6, "BL", "X"),
        text(X - 30.0 + 13.8, Y - 5.6, "BL", "Y"),
    };
}

void append(std::vector<std::string>& to, const std::vector<std::string>& more) {
    to.insert(to.end(), more.begin(), more.end());
}

// The pieces of a chart, one after the other.
std::vector<std::string> joined(std::initializer_list<std::vector<std::string>> pieces) {
    std::vector<std::string> out;
    for (const std::vector<std::string>& piece : pieces) {
        append(out, piece);
    }
    return out;
}

// One hole row of the column whose right edge is X, from top down 8: its
// lines, its number and coordinates, and the number at the hole's centre.
std::vector<std::string> hole_row(double X, double top, const std::string& n, const std::string& x,
                                  const std::string& y, Point centre) {
    return {
        line(X, top - 8, X - 70, top - 8),  line(X - 60, top, X - 60, top - 8),
        line(X - 30, top, X - 30, top - 8), text(X - 68, top - 5.6, "BL", n),
        text(X - 45, top - 5.6, "BC", x),   text(X - 15, top - 5.6, "BC", y),
        text(centre.x, centre.y, "MC", n),
    };
}

// A type block's count text and label, at y in the column whose right edge
// is X.
std::vector<std::string> block_labels(double X, double y, const std::string& count,
                                      const std::string& label) {
    return {text(X - 69, y, "BL", count + ")"), text(X - 60, y, "BL", label)};
}

// The outer lines that close the column at X, from Y down to bottom.
std::vector<std::string> closing_lines(double X, double Y, double bottom) {
    return {line(X, Y, X, bottom), line(X - 70, Y, X - 70, bottom)};
}

std::vector<std::string> texts_with_justify(const RunState& state, const char* justify) {
    std::vector<std::string> out;
    for (int i = 0; i < state.chart_count; ++i) {
        const EntityRecord& r = state.chart_list[static_cast<std::size_t>(i)];
        if (std::strcmp(r.kind, "TEXT") == 0 && std::strcmp(r.justify, justify) == 0) {
            out.push_back(describe(r));
        }
    }
    return out;
}

// The hole numbers 1, 2, ... at the centres, in this order.
std::vector<std::string> numbered_marks(std::initializer_list<Point> centres) {
    std::vector<std::string> out;
    for (const Point& c : centres) {
        out.push_back(text(c.x, c.y, "MC", std::to_string(out.size() + 1)));
    }
    return out;
}

// Whether the chart holds a left-justified text t at (x, y).
bool has_left_text(const RunState& state, double x, double y, const std::string& t) {
    const std::vector<std::string> bl = texts_with_justify(state, "BL");
    return std::find(bl.begin(), bl.end(), text(x, y, "BL", t)) != bl.end();
}

int count_headers(const RunState& state) {
    int n = 0;
    for (int i = 0; i < state.chart_count; ++i) {
        n += std::strcmp(state.chart_list[static_cast<std::size_t>(i)].text, "NO") == 0 ? 1 : 0;
    }
    return n;
}

// The whole chart of one position with one circle, in the window x2 100,
// y2 100, y1 0 at text height 2.5.
std::vector<std::string> single_row_chart(Point centre, const std::string& x, const std::string& y,
                                          const std::string& label) {
    // The block from 92 down to 92 - 14, the row from 78 down to 70.
    return joined({header(100, 100),
                   {line(100, 92, 30, 92), line(100, 78, 30, 78)},
                   hole_row(100, 78, "1", x, y, centre),
                   block_labels(100, 87, "1", label),
                   closing_lines(100, 100, 70)});
}

TEST(ChartLayout, SinglePositionDrawsHeaderBlockRowAndClosingLines) {
    RunState state = make_state({100, 100, 0}, 2.5, "N", 2.5, 7.25);
    EntityList positions = positions_at({{12.5, 47.25}});
    draw_hole_chart(state, positions, {kPlain}, 1);
    EXPECT_EQ(chart_of(state), single_row_chart({12.5, 47.25}, "10.000", "40.000", "%%C5.000"));
}

TEST(ChartLayout, TextHeightFiveDoublesEveryOffset) {
    RunState state = make_state({100, 100, 0}, 5.0);
    EntityList positions = positions_at({{10, 40}});
    draw_hole_chart(state, positions, {kPlain}, 1);

    // Header row 16 high, block 28, row 16; the column is 140 wide.
    const std::vector<std::string> expected = {
        line(100, 100, -40, 100),
        line(40, 100, 40, 84),
        line(-20, 100, -20, 84),
        text(-35.4, 88.8, "BL", "NO"),
        text(7.6, 88.8, "BL", "X"),
        text(67.6, 88.8, "BL", "Y"),
        line(100, 84, -40, 84),
        line(100, 56, -40, 56),
        line(100, 40, -40, 40),
        line(-20, 56, -20, 40),
        line(40, 56, 40, 40),
        text(-36, 44.8, "BL", "1"),
        text(10, 44.8, "BC", "10.000"),
        text(70, 44.8, "BC", "40.000"),
        text(10, 40, "MC", "1"),
        text(-38, 74, "BL", "1)"),
        text(-20, 74, "BL", "%%C5.000"),
        line(100, 100, 100, 40),
        line(-40, 100, -40, 40),
    };
    EXPECT_EQ(chart_of(state), expected);
    for (int i = 0; i < state.chart_count; ++i) {
        const EntityRecord& r = state.chart_list[static_cast<std::size_t>(i)];
        if (std::strcmp(r.kind, "TEXT") == 0) {
            EXPECT_EQ(r.text_height, 5.0);
        }
    }
}

TEST(ChartLayout, FourthRowOpensSecondColumnWhileCountAndLabelStay) {
    RunState state = make_state({200, 100, 50});  // bottom limit 57.9
    EntityList positions = positions_at({{10, 40}, {30, 40}, {50, 40}, {70, 40}});
    draw_hole_chart(state, positions, {kPlain, kPlain, kPlain, kPlain}, 4);

    std::vector<std::string> expected = header(200, 100);
    append(expected, {line(200, 92, 130, 92), line(200, 78, 130, 78)});
    const double tops[] = {78, 70, 62};
    const char* x_texts[] = {"10.000", "30.000", "50.000"};
    for (int r = 0; r < 3; ++r) {
        append(expected, hole_row(200, tops[r], std::to_string(r + 1), x_texts[r], "40.000",
                                  {10.0 + 20.0 * r, 40}));
    }
    // Row 4's top, 54, lies below 57.9: the column closes there.
    append(expected, joined({closing_lines(200, 100, 54),
                             header(127, 100),
                             {line(127, 92, 57, 92)},
                             hole_row(127, 92, "4", "70.000", "40.000", {70, 40}),
                             block_labels(200, 87, "4", "%%C5.000"),
                             closing_lines(127, 100, 84)}));
    EXPECT_EQ(chart_of(state), expected);
}

// A chart in the window x2 100, y2 100 whose first block lies below the
// window's bottom: the first column closes 8 under its top, and the block
// opens the second column, 12 high instead of 14.
std::vector<std::string> block_in_second_column() {
    return joined({header(100, 100),
                   closing_lines(100, 100, 92),
                   header(27, 100),
                   {line(27, 92, -43, 92), line(27, 80, -43, 80)}});
}

TEST(ChartLayout, WindowTooLowForFirstBlockStartsItInTheSecondColumn) {
    RunState state = make_state({100, 100, 71});  // bottom limit 78.9
    EntityList positions = positions_at({{10, 40}});
    draw_hole_chart(state, positions, {kPlain}, 1);

    // 92 - 14 = 78 lies below the limit.
    EXPECT_EQ(chart_of(state),
              joined({block_in_second_column(), hole_row(27, 80, "1", "10.000", "40.000", {10, 40}),
                      block_labels(27, 87, "1", "%%C5.000"), closing_lines(27, 100, 72)}));
}

TEST(ChartLayout, BlockTooHighForAFreshColumnIsDrawnAndItsRowMovesOn) {
    RunState state = make_state({100, 100, 75});  // bottom limit 82.9
    EntityList positions = positions_at({{10, 40}});
    draw_hole_chart(state, positions, {kPlain}, 1);

    // The row's top, 80, lies below 82.9 as well.
    EXPECT_EQ(chart_of(state), joined({block_in_second_column(),
                                       closing_lines(27, 100, 80),
                                       header(-46, 100),
                                       {line(-46, 92, -116, 92)},
                                       hole_row(-46, 92, "1", "10.000", "40.000", {10, 40}),
                                       block_labels(27, 87, "1", "%%C5.000"),
                                       closing_lines(-46, 100, 84)}));
}

TEST(ChartLayout, RowWhoseTopLiesExactlyOnTheLimitStaysInTheColumn) {
    // 62.1 + 7.9 is exactly 70, the top of the second row.
    ASSERT_EQ(62.1 + 7.9, 70.0);
    {
        RunState state = make_state({100, 100, 62.1});
        EntityList positions = positions_at({{10, 40}, {30, 40}});
        draw_hole_chart(state, positions, {kPlain, kPlain}, 2);
        EXPECT_EQ(count_headers(state), 1);
        const std::vector<std::string> chart = chart_of(state);
        // The row reaches 62, below the window's bottom at 62.1.
        EXPECT_EQ(chart[chart.size() - 2], line(100, 100, 100, 62));
        EXPECT_EQ(chart.back(), line(30, 100, 30, 62));
    }
    {
        RunState state = make_state({100, 100, 62.1});
        EntityList positions = positions_at({{10, 40}, {30, 40}, {50, 40}});
        draw_hole_chart(state, positions, {kPlain, kPlain, kPlain}, 3);
        EXPECT_EQ(count_headers(state), 2);
    }
    {
        // A limit a little above the row's top moves the row.
        RunState state = make_state({100, 100, 62.2});
        EntityList positions = positions_at({{10, 40}, {30, 40}});
        draw_hole_chart(state, positions, {kPlain, kPlain}, 2);
        EXPECT_EQ(count_headers(state), 2);
        const std::vector<std::string> chart = chart_of(state);
        EXPECT_EQ(chart.back(), line(-43, 100, -43, 84));
    }
}

TEST(ChartLayout, ChainOfSweepsListsEveryPositionOnce) {
    // 352 lies within 10 degrees of both 360 and 344: it is listed under the
    // first block, and the third position leads a block of its own.
    RunState state = make_state({100, 100, -1000});
    EntityList positions = positions_at({{10, 40}, {30, 40}, {50, 40}});
    const std::vector<HoleTypeRow> rows = {
        row_of({{3, 0.0, "ByL", 2.5, 360.0}}),
        row_of({{3, 0.0, "ByL", 2.5, 352.0}}),
        row_of({{3, 0.0, "ByL", 2.5, 344.0}}),
    };
    draw_hole_chart(state, positions, rows, 3);

    EXPECT_EQ(texts_with_justify(state, "MC"), numbered_marks({{10, 40}, {30, 40}, {50, 40}}));
    // Block 1 (92..78) with rows 1 and 2 (to 62); block 2 (62..48) with
    // row 3 (to 40).
    EXPECT_TRUE(has_left_text(state, 31, 87, "2)"));
    EXPECT_TRUE(has_left_text(state, 31, 57, "1)"));
    EXPECT_EQ(chart_of(state).back(), line(30, 100, 30, 40));
}

TEST(ChartLayout, EntityNumberZeroFirstPositionLeadsAndDrawsTheHeader) {
    RunState state = make_state({100, 100, 0});
    EntityList positions = positions_at({{10, 40}, {30, 40}});
    positions[0].id = 0;
    draw_hole_chart(state, positions, {kPlain, kPlain}, 2);

    EXPECT_EQ(chart_of(state), joined({header(100, 100),
                                       {line(100, 92, 30, 92), line(100, 78, 30, 78)},
                                       hole_row(100, 78, "1", "10.000", "40.000", {10, 40}),
                                       hole_row(100, 70, "2", "30.000", "40.000", {30, 40}),
                                       block_labels(100, 87, "2", "%%C5.000"),
                                       closing_lines(100, 100, 62)}));
}

TEST(ChartLayout, EntityNumberZeroPositionOfItsOwnTypeIsListed) {
    RunState state = make_state({100, 100, 0});
    EntityList positions = positions_at({{10, 40}, {30, 40}});
    positions[1].id = 0;
    const HoleTypeRow other = row_of({{3, 0.0, "ByL", 4.0, 360.0}});
    draw_hole_chart(state, positions, {kPlain, other}, 2);
    EXPECT_EQ(texts_with_justify(state, "MC"), numbered_marks({{10, 40}, {30, 40}}));
    EXPECT_EQ(count_headers(state), 1);
}

TEST(ChartLayout, SameTypeFarApartIsListedUnderTheFirstBlockWithItsValues) {
    RunState state = make_state({100, 100, -1000});
    EntityList positions = positions_at({{10, 40}, {30, 40}, {50, 40}});
    const std::vector<HoleTypeRow> rows = {
        row_of({{1, 5.0, "ByL", 3.0, 360.0}}), row_of({{1, 0.0, "ByL", 4.0, 360.0}}),
        row_of({{1, 8.0, "ByL", 3.0005, 355.0}}),  // differs only within the tolerances
    };
    draw_hole_chart(state, positions, rows, 3);

    EXPECT_EQ(texts_with_justify(state, "MC"), numbered_marks({{10, 40}, {50, 40}, {30, 40}}));
    // Block 1 holds rows 1 and 2 and is labelled with the first position's depth.
    EXPECT_TRUE(has_left_text(state, 31, 87, "2)"));
    EXPECT_TRUE(has_left_text(state, 40, 87, "%%C6.0_X_5.0"));
    EXPECT_TRUE(has_left_text(state, 31, 57, "1)"));
    EXPECT_TRUE(has_left_text(state, 40, 57, "%%C8.0"));
}

TEST(ChartLayout, ToleranceBoundariesOfOneHoleType) {
    const HoleTypeRow base = row_of({{3, 0.0, "ByL", 2.5, 300.0}, {3, 1.0, "ByL", 3.0, 360.0}});
    struct Case {
        HoleTypeRow other;
        bool same;
        const char* what;
    };
    const Case cases[] = {
        {row_of({{3, 7.0, "ByL", 2.5, 300.0}, {3, 9.0, "ByL", 3.0, 360.0}}), true, "values"},
        {row_of({{3, 0.0, "ByL", 2.5 + 0.0009, 300.0}, {3, 1.0, "ByL", 3.0, 360.0}}), true,
         "radius within 0.001"},
        {row_of({{3, 0.0, "ByL", 2.502, 300.0}, {3, 1.0, "ByL", 3.0, 360.0}}), false,
         "radius beyond 0.001"},
        {row_of({{3, 0.0, "ByL", 2.5, 290.0}, {3, 1.0, "ByL", 3.0, 360.0}}), true,
         "sweep exactly 10 apart"},
        {row_of({{3, 0.0, "ByL", 2.5, 289.9}, {3, 1.0, "ByL", 3.0, 360.0}}), false,
         "sweep beyond 10"},
        {row_of({{3, 0.0, "ByL", 2.5, 300.0}, {2, 1.0, "ByL", 3.0, 360.0}}), false, "second code"},
        {row_of({{3, 0.0, "ByL", 2.5, 300.0}, {3, 1.0, "HIDDEN", 3.0, 360.0}}), false,
         "second style"},
        {row_of({{3, 0.0, "ByL", 2.5, 300.0}}), false, "circle count"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(same_hole_type(base, c.other), c.same) << c.what;
        EXPECT_EQ(same_hole_type(c.other, base), c.same) << c.what;
    }
}

struct LabelCase {
    const char* name;
    HoleTypeRow row;
    std::vector<std::string> labels;
};

TEST(ChartLayout, HoleLabels) {
    const LabelCase cases[] = {
        {"plain", row_of({{3, 0.0, "ByL", 5.0, 360.0}}), {"%%C10.000"}},
        {"hidden with depth", row_of({{1, 12.5, "HIDDEN", 3.3, 360.0}}), {"B_%%C6.6_X_12.5"}},
        {"tapped with depth",
         row_of({{1, 15.0, "ByL", 4.25, 360.0}, {1, 15.0, "ByL", 5.0, 270.0}}),
         {"M10_X_15.0_TAP"}},
        {"tapped hidden",
         row_of({{1, 15.0, "HIDDEN", 4.25, 360.0}, {1, 0.0, "ByL", 5.0, 270.0}}),
         {"B_M10_TAP"}},
        {"counterbore",
         row_of({{2, 0.0, "ByL", 4.0, 360.0}, {2, 0.0, "ByL", 6.0, 360.0}}),
         {"%%C8.00", "%%C12.00"}},
        {"arc of exactly 250",
         row_of({{3, 0.0, "ByL", 2.5, 360.0}, {3, 0.0, "ByL", 3.0, 250.0}}),
         {"%%C5.000", "%%C6.000"}},
        {"arc of exactly 350",
         row_of({{3, 0.0, "ByL", 2.5, 360.0}, {3, 0.0, "ByL", 3.0, 350.0}}),
         {"%%C5.000", "%%C6.000"}},
        {"lone 270 arc", row_of({{3, 0.0, "ByL", 3.0, 270.0}}), {"%%C6.000"}},
        {"three circles, second tapped",
         row_of({{3, 0.0, "ByL", 2.5, 360.0},
                 {3, 0.0, "ByL", 3.0, 270.0},
                 {2, 4.0, "ByL", 5.0, 360.0}}),
         {"M6_TAP", "%%C10.00_X_4.00"}},
        {"value at the floor", row_of({{3, 0.00001, "ByL", 2.5, 360.0}}), {"%%C5.000"}},
        {"tapped value at the floor",
         row_of({{3, 0.0, "ByL", 2.5, 360.0}, {3, 0.00001, "ByL", 3.0, 270.0}}),
         {"M6_X_0.000_TAP"}},
        {"lower-case h is no hidden style", row_of({{0, 8.0, "hidden", 1.5, 360.0}}), {"%%C3_X_8"}},
        {"codes beyond the range",
         row_of({{7, 2.0, "ByL", 2.5, 360.0}, {-2, 0.0, "ByL", 6.0, 360.0}}),
         {"%%C5.0000_X_2.0000", "%%C12"}},
    };
    for (const LabelCase& c : cases) {
        EXPECT_EQ(compose_hole_labels(c.row), c.labels) << c.name;
    }
}

TEST(ChartLayout, LabelsStandOneUnderAnotherFromTheCountTextsLine) {
    RunState state = make_state({100, 100, -1000});
    EntityList positions = positions_at({{10, 40}});
    const HoleTypeRow row = row_of(
        {{3, 0.0, "ByL", 2.5, 360.0}, {3, 0.0, "ByL", 3.0, 270.0}, {2, 4.0, "ByL", 5.0, 360.0}});
    draw_hole_chart(state, positions, {row}, 1);
    // A block of three circles is 22 high: 92 down to 70.
    const std::vector<std::string> chart = chart_of(state);
    ASSERT_GE(chart.size(), 5u);
    EXPECT_EQ(chart[7], line(100, 70, 30, 70));
    EXPECT_EQ(std::vector<std::string>(chart.end() - 5, chart.end()),
              (std::vector<std::string>{
                  text(31, 87, "BL", "1)"),
                  text(40, 87, "BL", "M6_TAP"),
                  text(40, 82, "BL", "%%C10.00_X_4.00"),
                  line(100, 100, 100, 62),
                  line(30, 100, 30, 62),
              }));
}

TEST(ChartLayout, HugeValuesStillMakeLabelsThatFitTheTextField) {
    const HoleTypeRow row = row_of({{4, 1e250, "HIDDEN", 1e250, 360.0}});
    const std::vector<std::string> labels = compose_hole_labels(row);
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0], "B_%%C2.0000e+250_X_1.0000e+250");

    RunState state = make_state({100, 100, -1000});
    EntityList positions = positions_at({{1e300, -1e300}});
    draw_hole_chart(state, positions, {row}, 1);
    for (int i = 0; i < state.chart_count; ++i) {
        EXPECT_LT(std::strlen(state.chart_list[static_cast<std::size_t>(i)].text), kTextSize);
    }
    EXPECT_EQ(texts_with_justify(state, "BC"),
              (std::vector<std::string>{text(55, 78 - 5.6, "BC", "1.0000e+300"),
                                        text(85, 78 - 5.6, "BC", "-1.0000e+300")}));
}

TEST(ChartLayout, CoordinatesUseTheFirstCirclesDecimalsAndTheSignSwitch) {
    // Two circles make the block 18 high, so the row runs from 74 to 66.
    struct Case {
        const char* flag;
        std::vector<std::string> values;
    };
    const Case cases[] = {
        {"N", {text(55, 74 - 5.6, "BC", "10.13"), text(85, 74 - 5.6, "BC", "-3.00")}},
        {"Y", {text(55, 74 - 5.6, "BC", "10.13"), text(85, 74 - 5.6, "BC", "3.00")}},
    };
    for (const Case& c : cases) {
        RunState state = make_state({100, 100, 0}, 2.5, c.flag, 5.0, 5.0);
        EntityList positions = positions_at({{15.126, 2.0}});
        const HoleTypeRow row = row_of({{2, 0.0, "ByL", 2.5, 360.0}, {4, 0.0, "ByL", 4.0, 360.0}});
        draw_hole_chart(state, positions, {row}, 1);
        EXPECT_EQ(texts_with_justify(state, "BC"), c.values) << c.flag;
    }
}

TEST(ChartLayout, TypeCodeOutsideTheRangePrintsCoordinatesWithTheNearestDecimals) {
    struct Case {
        int32_t code;
        const char* x;
        const char* y;
        const char* label;
    };
    const Case cases[] = {{5, "10.0000", "40.0000", "%%C5.0000"}, {-3, "10", "40", "%%C5"}};
    for (const Case& c : cases) {
        RunState state = make_state({100, 100, 0});
        EntityList positions = positions_at({{10, 40}});
        const HoleTypeRow row = row_of({{c.code, 0.0, "ByL", 2.5, 360.0}});
        draw_hole_chart(state, positions, {row}, 1);
        const std::vector<std::string> expected = single_row_chart({10, 40}, c.x, c.y, c.label);
        EXPECT_EQ(chart_of(state), expected) << c.code;
    }
}

TEST(ChartLayout, UnevenUnitFactorFormsEveryLengthWithOneDivision) {
    // At text height 1.8 the unit factor is not exact; the expected values
    // are worked out in the order the layout rules give.
    RunState state = make_state({200, 150, 0}, 1.8);
    const double u = 2.5 / 1.8;
    EntityList positions = positions_at({{10, 40}});
    draw_hole_chart(state, positions, {kPlain}, 1);

    const double xr = 200.0;
    const double xl = xr - 70.0 / u;
    const double x_sep = xr - 60.0 / u;
    const double y_sep = xr - 30.0 / u;
    const double block_top = 150.0 - 8.0 / u;
    const double block_bottom = block_top - 14.0 / u;
    const double row_bottom = block_bottom - 8.0 / u;
    const double text_y = block_bottom - 5.6 / u;
    const std::vector<std::string> chart = chart_of(state);
    ASSERT_EQ(chart.size(), 19u);
    EXPECT_EQ(chart[6], line(xr, block_top, xl, block_top));
    EXPECT_EQ(chart[7], line(xr, block_bottom, xl, block_bottom));
    EXPECT_EQ(chart[8], line(xr, row_bottom, xl, row_bottom));
    EXPECT_EQ(chart[9], line(x_sep, block_bottom, x_sep, row_bottom));
    EXPECT_EQ(chart[10], line(y_sep, block_bottom, y_sep, row_bottom));
    EXPECT_EQ(chart[11], text(xl + 2.0 / u, text_y, "BL", "1"));
    EXPECT_EQ(chart[12], text(x_sep + 15.0 / u, text_y, "BC", "10.000"));
    EXPECT_EQ(chart[13], text(y_sep + 15.0 / u, text_y, "BC", "40.000"));
    EXPECT_EQ(chart[15], text(xl + 1.0 / u, block_top - 5.0 / u, "BL", "1)"));
    EXPECT_EQ(chart[16], text(xl + 10.0 / u, block_top - 5.0 / u, "BL", "%%C5.000"));
    EXPECT_EQ(chart[18], line(xl, 150, xl, row_bottom));
    // And the exact doubles of one row line, beyond twelve decimals.
    EXPECT_EQ(state.chart_list[8].p1.y, row_bottom);
    EXPECT_EQ(state.chart_list[11].p1.x, xl + 2.0 / u);
}

}  // namespace
