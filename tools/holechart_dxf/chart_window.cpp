#include "tools/holechart_dxf/chart_window.hpp"

#include <cmath>
#include <cstring>
#include <string_view>

#include "chart/chart_dimensions.hpp"
#include "chart/chart_pass.hpp"
#include "driver/chart_settings.hpp"
#include "geometry/geometry.hpp"
#include "tools/common/companion_main.hpp"
#include "tools/holechart_dxf/dxf_geometry.hpp"
#include "tools/holechart_dxf/exchange_lines.hpp"
#include "util/fixed_text.hpp"

namespace holechart_dxf {

namespace {

// Nominal lengths of the place beside the drawing, in chart units: the gap
// between the drawing and the chart, and the lowest window.
constexpr double kGap = 10.0;
constexpr double kLowestWindow = 120.0;

// Millimetres per unit of each $INSUNITS code from 1 on, and whether the
// unit is imperial (the chart then takes 0.1 inch, not 2.5 mm).
struct DrawingUnit {
    double millimetres;
    bool imperial;
};
constexpr DrawingUnit kUnits[] = {
    {25.4, true},                    // 1 inches
    {304.8, true},                   // 2 feet
    {1609344.0, true},               // 3 miles
    {1.0, false},                    // 4 millimetres
    {10.0, false},                   // 5 centimetres
    {1000.0, false},                 // 6 metres
    {1e6, false},                    // 7 kilometres
    {25.4e-6, true},                 // 8 microinches
    {0.0254, true},                  // 9 mils
    {914.4, true},                   // 10 yards
    {1e-7, false},                   // 11 angstroms
    {1e-6, false},                   // 12 nanometres
    {1e-3, false},                   // 13 microns
    {100.0, false},                  // 14 decimetres
    {1e4, false},                    // 15 decametres
    {1e5, false},                    // 16 hectometres
    {1e12, false},                   // 17 gigametres
    {1.495978707e14, false},         // 18 astronomical units
    {9.4607304725808e18, false},     // 19 light years
    {3.0856775814913673e19, false},  // 20 parsecs
    {304.8006096, true},             // 21 US survey feet
    {25.4000508, true},              // 22 US survey inches
    {914.4018288, true},             // 23 US survey yards
    {1609347.2187, true},            // 24 US survey miles
};

constexpr double kMetricHeight = kNominalTextHeight;  // millimetres: the chart at its nominal size
constexpr double kImperialHeight = 2.54;              // millimetres: 0.1 inch
constexpr double kLeastShare = 0.002;
constexpr double kMostShare = 0.02;

// One chart pass of the tool over the holes, on records read afresh: the
// pass reorders them. False with the reason when it fails.
bool chart_pass(const ChartSettings& settings, const double numbers[6],
                const std::vector<std::string>& holes, const std::vector<EarlierRow>& earlier,
                RunState& state, bool& holes_found, std::string& error) {
    state = RunState{};
    if (!start_run_state(state, settings, numbers)) {
        error = companion::one_line(kInvalidArguments.message_line);
        return false;
    }
    state.earlier_rows = earlier;
    EntityList records;
    read_exchange_lines(holes, records);
    const ChartOutcome outcome = chart_the_drawing(state, records, static_cast<int>(holes.size()));
    holes_found = outcome != ChartOutcome::no_holes;
    if (const std::optional<RunError> run_error = run_error_of(outcome)) {
        error = companion::one_line(run_error->message_line);
        return false;
    }
    return true;
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

double default_text_height(int insertion_units, int measurement, const Extents& extents) {
    double height = kMetricHeight;
    constexpr int kKnownUnits = static_cast<int>(sizeof kUnits / sizeof kUnits[0]);
    if (insertion_units >= 1 && insertion_units <= kKnownUnits) {
        const DrawingUnit& unit = kUnits[insertion_units - 1];
        height = (unit.imperial ? kImperialHeight : kMetricHeight) / unit.millimetres;
    } else if (measurement == 0) {
        height = kImperialHeight / 25.4;
    }
    const double side = larger_side(extents);
    if (side > 0.0 && std::isfinite(side)) {
        height = std::fmin(std::fmax(height, kLeastShare * side), kMostShare * side);
    }
    // Within the tool's own bounds, whatever the drawing's size.
    return std::fmin(std::fmax(height, kLowestTextHeight), kHighestTextHeight);
}

ChartSettings settings_from(const DxfOptions& options, double text_height) {
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
    s.chart_text_height = text_height;
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

bool draw_chart(const DxfOptions& options, double text_height, const Extents& extents,
                const std::vector<std::string>& holes, const std::vector<EarlierRow>& earlier,
                RunState& state, bool& holes_found, std::string& error) {
    const ChartSettings settings = settings_from(options, text_height);
    double numbers[6] = {options.window[0], options.window[1], options.window[2],
                         options.window[3], options.origin[0], options.origin[1]};
    if (options.window_given) {
        return chart_pass(settings, numbers, holes, earlier, state, holes_found, error);
    }
    const double u = chart_unit_factor(settings.chart_text_height);
    // A first pass in one column counts the columns the chart needs there;
    // a second draws it in a window that wide.
    int columns = 1;
    for (int pass = 0; pass < 2; ++pass) {
        window_beside(extents, u, columns, numbers);
        if (!window_finite(numbers)) {
            error = companion::one_line(kChartOutOfRange.message_line);
            return false;
        }
        if (!chart_pass(settings, numbers, holes, earlier, state, holes_found, error)) {
            return false;
        }
        columns = chart_columns(state);
        if (!holes_found || columns <= 1) {
            break;
        }
    }
    return true;
}

}  // namespace holechart_dxf
