#include "chart/chart_primitives.hpp"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "chart/chart_dimensions.hpp"
#include "util/number_text.hpp"

namespace {

constexpr const char* kChartLayer = "HoleChart";
constexpr int32_t kChartColor = 3;
constexpr const char* kChartStyle = "ByL";
constexpr const char* kChartTag = "NO";

void add_text(RunState& state, double x, double y, const char* justify, const char* text) {
    append_chart_entity(
        state, make_text_entity(kChartLayer, kChartColor, kChartStyle, kChartStyle, kChartTag,
                                state.settings.chart_text_height, 0.0, justify, Point{x, y}, text));
}

std::string int_text(int32_t n) {
    std::string text;
    append_int(text, n);
    return text;
}

}  // namespace

void append_chart_entity(RunState& state, const EntityRecord& record) {
    if (state.chart_list.size() < static_cast<std::size_t>(state.chart_count) + 2) {
        entity_list_grow(state.chart_list, state.chart_count, 1);
    }
    state.chart_list[static_cast<std::size_t>(state.chart_count)] = record;
    state.chart_count += 1;
    entity_list_grow(state.chart_list, state.chart_count, 1);
}

void chart_add_line(RunState& state, double x1, double y1, double x2, double y2) {
    append_chart_entity(state, make_line_entity(kChartLayer, kChartColor, kChartStyle, kChartStyle,
                                                kChartTag, 0.0, 0.0, Point{x1, y1}, Point{x2, y2}));
}

void chart_add_number(RunState& state, double x, double y, int32_t n) {
    add_text(state, x, y, "BL", int_text(n).c_str());
}

void chart_add_hole_mark(RunState& state, double x, double y, int32_t n) {
    add_text(state, x, y, "MC", int_text(n).c_str());
}

void chart_add_text(RunState& state, double x, double y, const char* text) {
    add_text(state, x, y, "BL", text);
}

std::string format_chart_number(double value, int decimals) {
    if (decimals < 0) {
        decimals = 0;
    }
    if (decimals > 4) {
        decimals = 4;
    }
    std::string text;
    append_fixed(text, value, decimals);
    if (text.size() > kMaxValueChars) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.*e", decimals, value);
        text = buffer;
    }
    return text;
}

std::string chart_add_value(RunState& state, double x, double y, double value, int decimals) {
    if (std::strcmp(state.settings.absolute_flag, "Y") == 0) {
        value = std::fabs(value);
    }
    std::string text = format_chart_number(value, decimals);
    add_text(state, x, y, "BC", text.c_str());
    return text;
}

void chart_add_header(RunState& state, double x_right, double y_top) {
    const double u = state.unit_factor;
    const double X = x_right;
    const double Y = y_top;
    const double y_sep = X - kYSeparatorFromRight / u;
    const double x_sep = X - kXSeparatorFromRight / u;
    const double xl = X - kColumnWidth / u;
    const double bottom = Y - kHeaderHeight / u;
    const double baseline = Y - kTextBaselineDrop / u;
    // The bottom edge and the outer edges are drawn by the layout.
    chart_add_line(state, X, Y, xl, Y);
    chart_add_line(state, y_sep, Y, y_sep, bottom);
    chart_add_line(state, x_sep, Y, x_sep, bottom);
    add_text(state, xl + kNoTextInset / u, baseline, "BL", "NO");
    add_text(state, x_sep + kAxisTextInset / u, baseline, "BL", "X");
    add_text(state, y_sep + kAxisTextInset / u, baseline, "BL", "Y");
}
