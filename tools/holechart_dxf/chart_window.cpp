#include "tools/holechart_dxf/chart_window.hpp"

#include <cmath>
#include <cstring>
#include <string_view>

#include "chart/chart_dimensions.hpp"
#include "chart/chart_pass.hpp"
#include "geometry/geometry.hpp"
#include "tools/holechart_dxf/dxf_geometry.hpp"
#include "util/fixed_text.hpp"

namespace {

// Nominal lengths of the place beside the drawing, in chart units: the gap
// between the drawing and the chart, and the lowest window.
constexpr double kGap = 10.0;
constexpr double kLowestWindow = 120.0;

void include(Extents& e, Point p) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) {
        return;
    }
    if (e.empty) {
        e = Extents{false, p.x, p.y, p.x, p.y};
        return;
    }
    e.min_x = std::fmin(e.min_x, p.x);
    e.min_y = std::fmin(e.min_y, p.y);
    e.max_x = std::fmax(e.max_x, p.x);
    e.max_y = std::fmax(e.max_y, p.y);
}

void include_arc(Extents& e, Point centre, double radius, double start, double sweep) {
    auto at = [&](double angle) {
        return Point{centre.x + radius * std::cos(angle * kDegreesToRadians),
                     centre.y + radius * std::sin(angle * kDegreesToRadians)};
    };
    include(e, at(start));
    include(e, at(start + sweep));
    // The quadrant points that the arc passes.
    for (double quadrant = 0.0; quadrant < 360.0; quadrant += 90.0) {
        if (normalise_degrees(quadrant - start) <= sweep) {
            include(e, at(quadrant));
        }
    }
}

std::optional<RunError> chart_pass(const ChartSettings& settings, const double numbers[6],
                                   const EntityList& records, int count, RunState& state,
                                   bool& holes_found) {
    state = RunState{};
    if (!start_run_state(state, settings, numbers)) {
        return kInvalidArguments;
    }
    // The chart reorders the records it is given.
    EntityList entities = records;
    const ChartOutcome outcome = chart_the_drawing(state, entities, count);
    holes_found = outcome != ChartOutcome::no_holes;
    return run_error_of(outcome);
}

// A place beside the drawing can lie beyond the range of a double, where
// the chart's own lengths are that large: the chart is out of range then,
// not the user's numbers.
bool window_finite(const double numbers[4]) {
    for (int i = 0; i < 4; ++i) {
        if (!std::isfinite(numbers[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

Extents drawing_extents(const EntityList& list, int count) {
    Extents e;
    for (int i = 0; i < count; ++i) {
        const EntityRecord& r = list[static_cast<std::size_t>(i)];
        const bool arc_shape = has_shape(r, "A") || has_shape(r, "C");
        if (has_kind(r, "ARC") || has_kind(r, "CIRCLE") || (has_kind(r, "PLINE") && arc_shape)) {
            include_arc(e, r.center, r.radius, r.start_angle, r.sweep);
        } else if (has_kind(r, "LINE") || has_kind(r, "PLINE")) {
            include(e, r.p1);
            include(e, r.p2);
        } else if (has_kind(r, "SOLID")) {
            include(e, r.p1);
            include(e, r.p2);
            include(e, r.center);
            include(e, r.p4);
        } else if (has_kind(r, "DIMENSION")) {
            include(e, r.p1);
            include(e, r.p2);
            include(e, r.p4);
            include(e, r.p5);
            include(e, r.p6);
        } else {
            include(e, r.p1);
        }
    }
    return e;
}

ChartSettings settings_from(const DxfOptions& options) {
    ChartSettings s;
    if (options.layer_given) {
        s.layer_mode = 0;
        copy_text(s.layer_name, std::string_view(options.layer));
        s.layer_color = options.color;
    } else {
        s.layer_mode = 1;
        copy_text(s.layer_name, std::string_view("HoleChart"));
        s.layer_color = 3;
    }
    copy_text(s.absolute_flag, std::string_view(options.absolute ? "Y" : "N"));
    s.chart_text_height = options.text_height;
    return s;
}

void window_beside(const Extents& extents, double u, int columns, double numbers[4]) {
    const double left = extents.max_x + kGap / u;
    numbers[0] = left;
    numbers[1] = std::fmin(extents.min_y, extents.max_y - kLowestWindow / u);
    numbers[2] = left + columns * (kColumnWidth / u) + (columns - 1) * (kColumnGap / u);
    numbers[3] = extents.max_y;
}

int chart_columns(const RunState& state) {
    // The leftmost line of the chart is the left edge of its last column.
    bool any = false;
    double leftmost = 0.0;
    for (int i = 0; i < state.chart_count; ++i) {
        const EntityRecord& r = state.chart_list[static_cast<std::size_t>(i)];
        if (!has_kind(r, "LINE")) {
            continue;
        }
        const double x = std::fmin(r.p1.x, r.p2.x);
        leftmost = any ? std::fmin(leftmost, x) : x;
        any = true;
    }
    if (!any) {
        return 0;
    }
    const double u = state.unit_factor;
    const double step = (kColumnWidth + kColumnGap) / u;
    return static_cast<int>(std::lround((state.window.x2 - leftmost + kColumnGap / u) / step));
}

std::optional<RunError> draw_chart(const DxfOptions& options, const EntityList& records, int count,
                                   RunState& state, bool& holes_found) {
    const ChartSettings settings = settings_from(options);
    double numbers[6] = {options.window[0], options.window[1], options.window[2],
                         options.window[3], options.origin[0], options.origin[1]};
    if (options.window_given) {
        return chart_pass(settings, numbers, records, count, state, holes_found);
    }
    const double u = 2.5 / settings.chart_text_height;
    const Extents extents = drawing_extents(records, count);
    window_beside(extents, u, 1, numbers);
    if (!window_finite(numbers)) {
        return kChartOutOfRange;
    }
    if (std::optional<RunError> error =
            chart_pass(settings, numbers, records, count, state, holes_found)) {
        return error;
    }
    const int columns = chart_columns(state);
    if (!holes_found || columns <= 1) {
        return std::nullopt;
    }
    window_beside(extents, u, columns, numbers);
    if (!window_finite(numbers)) {
        return kChartOutOfRange;
    }
    return chart_pass(settings, numbers, records, count, state, holes_found);
}
