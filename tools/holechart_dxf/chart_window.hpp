// The chart run of holechart-dxf: the settings from the command line, the
// window (given, or placed beside the drawing), and the one chart pass of
// the tool.
#pragma once

#include <string>
#include <vector>

#include "chart/run_state.hpp"
#include "driver/run_errors.hpp"
#include "tools/holechart_dxf/drawing_geometry.hpp"
#include "tools/holechart_dxf/options.hpp"

namespace holechart_dxf {

// The chart's text height when none is given: 2.5 mm, or 0.1 inch in a
// drawing in inches, feet or other imperial units, expressed in the
// drawing's units ($INSUNITS; without them $MEASUREMENT, 0 being imperial,
// and without that millimetres), then held within 0.2 % to 2 % of the
// larger side of the drawing's extent.
double default_text_height(int insertion_units, int measurement, const Extents& extents);

ChartSettings settings_from(const DxfOptions& options, double text_height);

// The window beside the drawing for a chart of the given number of columns
// at chart unit u: its columns side by side from 10 units right of the
// drawing, from the drawing's top down to its bottom, but at least 120 units
// high. numbers receives x1 y1 x2 y2.
void window_beside(const Extents& extents, double u, int columns, double numbers[4]);

// How many columns the chart in the state has.
int chart_columns(const RunState& state);

// What the chart pass takes for each hole, about: its record, its position
// and type row, and the lines and texts of its row in the chart.
constexpr double kChartBytesPerHole = 12000.0;

// Draws the chart of the holes (exchange lines) into state, at the given
// text height, its rows keeping the numbers of the earlier rows (none: the
// rows are numbered 1, 2, ...). Without a window in the options the chart goes beside the
// drawing's extent, on as many columns as it needs there: a first pass
// counts them, a second draws them in a window wide enough. Each pass reads
// the records afresh from the lines, so that only one set is held. Returns
// false with a one-line reason (the tool's message for a run error) when
// the chart cannot be drawn.
bool draw_chart(const DxfOptions& options, double text_height, const Extents& extents,
                const std::vector<std::string>& holes, const std::vector<EarlierRow>& earlier,
                RunState& state, bool& holes_found, std::string& error);

}  // namespace holechart_dxf
