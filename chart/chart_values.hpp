// Checks that keep "nan" and "inf" out of a result file: a chart built from
// values that are not finite, or whose coordinates overflow, would put the
// chart nowhere and print nonsense into its texts.
#pragma once

#include <vector>

#include "chart/hole_type_table.hpp"
#include "chart/run_state.hpp"

// Whether the centre, radius and sweep of each of the first n records (the
// holes) are finite numbers.
bool hole_records_finite(const EntityList& holes, int n);

// Largest coordinate or size a chart entity may have, and largest diameter a
// label describes. Far beyond any drawing, and small enough that every line
// of the result file stays within the 510 characters a reader of the format
// takes as one line.
constexpr double kMaxChartValue = 1e15;

// Whether every position can be charted: it has at least one hole the table
// describes, every value the chart prints or places for it is a finite
// number (centres, centres less the origin, diameters, depths, sweeps), and
// no diameter lies beyond kMaxChartValue.
bool hole_values_usable(const EntityList& positions, const std::vector<HoleTypeRow>& rows,
                        int count, double origin_x, double origin_y);

// Whether every point and size of the chart entities drawn so far is finite
// and within kMaxChartValue.
bool chart_entities_in_range(const RunState& state);
