// The chart run of holechart-dxf: the settings from the command line, the
// window (given, or placed beside the drawing), and the one chart pass of
// the tool.
#pragma once

#include <optional>

#include "chart/run_state.hpp"
#include "driver/run_errors.hpp"
#include "tools/holechart_dxf/options.hpp"

struct Extents {
    bool empty = true;
    double min_x = 0.0;
    double min_y = 0.0;
    double max_x = 0.0;
    double max_y = 0.0;
};

// The box around the first count records, arcs by their true extent, texts
// by their insertion point.
Extents drawing_extents(const EntityList& list, int count);

ChartSettings settings_from(const DxfOptions& options);

// The window beside the drawing for a chart of the given number of columns
// at chart unit u: its columns side by side from 10 units right of the
// drawing, from the drawing's top down to its bottom, but at least 120 units
// high. numbers receives x1 y1 x2 y2.
void window_beside(const Extents& extents, double u, int columns, double numbers[4]);

// How many columns the chart in the state has.
int chart_columns(const RunState& state);

// Draws the chart of the first count records into state. Without a window
// in the options the chart goes beside the drawing, on as many columns as
// it needs there: a first pass counts them, a second draws them in a window
// wide enough. The records themselves are left as they are.
std::optional<RunError> draw_chart(const DxfOptions& options, const EntityList& records, int count,
                                   RunState& state, bool& holes_found);
