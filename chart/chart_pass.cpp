#include "chart/chart_pass.hpp"

#include <cmath>
#include <vector>

#include "chart/chart_layout.hpp"
#include "chart/chart_values.hpp"
#include "chart/hole_collection.hpp"
#include "chart/hole_type_table.hpp"
#include "entity/entity_file.hpp"

// The chart hangs from the window's right edge x2, between its top y2 and
// bottom y1; x1 is never read. So x2 only needs to be the larger x, which
// the clamp gives as a swap would, while y needs both ends in order. Kept as
// it always was, so that x1 reads back as the user gave it.
void normalise_window(ChartWindow& window) {
    if (window.x2 < window.x1) {
        window.x2 = window.x1;
    }
    if (window.y2 < window.y1) {
        const double lower = window.y2;
        window.y2 = window.y1;
        window.y1 = lower;
    }
}

bool start_run_state(RunState& state, const ChartSettings& settings, const double numbers[6]) {
    state.settings = settings;
    for (int i = 0; i < 6; ++i) {
        // "nan", "inf" or a number beyond the range of a double would put
        // the chart nowhere.
        if (!std::isfinite(numbers[i])) {
            return false;
        }
    }
    state.window = ChartWindow{numbers[0], numbers[1], numbers[2], numbers[3]};
    state.origin_x = numbers[4];
    state.origin_y = numbers[5];
    normalise_window(state.window);

    state.unit_factor = chart_unit_factor(state.settings.chart_text_height);
    state.chart_count = 0;
    entity_list_reset(state.chart_list, 2);
    state.listing = ChartListing{};
    return true;
}

ChartOutcome chart_the_drawing(RunState& state, EntityList& entities, int count) {
    const int holes = collect_holes(entities, count);
    if (holes == 0) {
        return ChartOutcome::no_holes;
    }
    // Before ordering: a centre that is not a number compares false in every
    // test of the sorts, so the hole would silently join a neighbour's
    // position and renumber the chart.
    if (!hole_records_finite(entities, holes)) {
        return ChartOutcome::invalid_hole_values;
    }
    order_holes(entities, holes);
    HolePositions positions = build_positions(entities, holes);
    std::vector<HoleTypeRow>& rows = positions.rows;
    order_positions(entities, rows, positions.count, state.origin_x, state.origin_y);
    if (!hole_values_usable(entities, rows, positions.count, state.origin_x, state.origin_y)) {
        return ChartOutcome::invalid_hole_values;
    }
    draw_hole_chart(state, entities, rows, positions.count);
    if (!chart_entities_in_range(state)) {
        return ChartOutcome::out_of_range;
    }
    if (state.settings.layer_mode != 1) {
        override_layer(state.chart_list, state.chart_count, state.settings.layer_name,
                       state.settings.layer_color);
    }
    return ChartOutcome::charted;
}
