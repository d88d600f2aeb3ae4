// The chart of a drawing that is already loaded: the part of the run that
// every way of feeding the tool a drawing shares.
#pragma once

#include "chart/run_state.hpp"

// How a chart pass ended.
enum class ChartOutcome {
    charted,              // the chart list holds the chart
    no_holes,             // the drawing has no hole; the chart list stays empty
    invalid_hole_values,  // a hole's centre, size, depth or sweep is not a finite number
    out_of_range,         // a chart coordinate or size lies beyond kMaxChartValue
};

// Sorts the window's corners: x2 takes x1 when it is smaller, and y1, y2 are
// exchanged when y2 is smaller.
void normalise_window(ChartWindow& window);

// Sets up the run state from the settings and the six numbers of the
// command line (window x1 y1 x2 y2, origin x y): the window normalised, the
// chart unit derived and the chart list made empty. Returns false when a
// number is not finite.
bool start_run_state(RunState& state, const ChartSettings& settings, const double numbers[6]);

// Collects, orders and groups the holes of the first count entities, builds
// the hole type table and draws the chart into the state's chart list, on
// the settings' layer when the layer mode asks for it. The entity list is
// reordered in place.
ChartOutcome chart_the_drawing(RunState& state, EntityList& entities, int count);
