// The one line on standard error that says what a run charted and what it
// did not: so that no drawing full of round features, and no selection
// that missed, passes as one without holes.
#pragma once

#include <string>

#include "chart/run_state.hpp"
#include "tools/holechart_dxf/dxf_drawing.hpp"
#include "tools/holechart_dxf/hole_finder.hpp"

namespace holechart_dxf {

// What was charted: the chart's rows, the holes from block references and
// from rings of arcs, and the text height.
std::string charted_text(const RunState& state, const HoleFinding& found, double text_height);

// What looks round or was read but is not charted, for the end of the
// summary line: "; not charted: ...", or "" when nothing was left out.
// selected_out: the holes the selection left out.
std::string left_out_text(const DxfDrawing& drawing, const PlacedDrawing& placed,
                          const HoleFinding& found, int selected_out);

// How the rows kept the numbers of an earlier chart: "; numbers: 10 kept,
// 2 new, retired: 4, 7".
std::string numbering_text(const RowNumbering& numbering);

// "1 hole", "2 holes".
std::string counted(int n, const char* one, const char* many);

}  // namespace holechart_dxf
