// The chart of a drawing that is already loaded: the part of the run that
// every way of feeding the tool a drawing shares.
#pragma once

#include <optional>

#include "driver/run_errors.hpp"
#include "driver/run_state.hpp"

// Sets up the run state from the settings and the six numbers of the
// command line (window x1 y1 x2 y2, origin x y): the window normalised, the
// chart unit derived and the chart list made empty. Returns an error when a
// number is not finite.
std::optional<RunError> start_run_state(RunState& state, const ChartSettings& settings,
                                        const double numbers[6]);

// Collects, orders and groups the holes of the first count entities, builds
// the hole type table and draws the chart into the state's chart list, on
// the settings' layer when the layer mode asks for it. The entity list is
// reordered in place. holes_found tells whether there was any hole (without
// one the chart list stays empty).
std::optional<RunError> chart_the_drawing(RunState& state, EntityList& entities, int count,
                                          bool& holes_found);
