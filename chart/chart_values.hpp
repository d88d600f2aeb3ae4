// Checks that keep "nan" and "inf" out of a result file: a chart built from
// values that are not finite, or whose coordinates overflow, would put the
// chart nowhere and print nonsense into its texts.
#pragma once

#include <vector>

#include "chart/hole_type_table.hpp"
#include "driver/run_state.hpp"

// Whether every value the chart prints or places for these positions is a
// finite number: centres, centres less the origin, diameters, depths and
// sweeps.
bool hole_values_finite(const EntityList& positions, const std::vector<HoleTypeRow>& rows,
                        int count, double origin_x, double origin_y);

// Whether every point and size of the chart entities drawn so far is finite.
bool chart_entities_finite(const RunState& state);
