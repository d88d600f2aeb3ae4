// The chart's lines and texts as DXF, for the file they are added to: with
// subclass markers, handles and owner where the file's version has them,
// each marked as the chart's by extended data under kChartApplication; a
// LAYER table record for a chart layer that the drawing does not have yet,
// and an APPID record for the mark's application name.
#pragma once

#include <string>

#include "chart/run_state.hpp"
#include "tools/holechart_dxf/dxf_drawing.hpp"

namespace holechart_dxf {

struct ChartInsertions {
    std::string entities;      // goes before the ENDSEC of the ENTITIES section
    std::string layer_record;  // goes before the ENDTAB of the LAYER table
    std::string appid_record;  // goes before the ENDTAB of the APPID table
    std::string handseed;      // replaces the pair that holds $HANDSEED
};

// How the reason begins when the file's handles leave too few for the chart.
constexpr const char* kHandlesExhausted = "its handles run up to FFFFFFFFFFFFFFFF";

// Takes handles from layout.next_handle and moves it past them. Returns
// false with a one-line reason when the file's handles leave too few for
// the chart.
bool format_chart_dxf(const RunState& state, DxfLayout& layout, ChartInsertions& insertions,
                      std::string& error);

// The file's bytes with the insertions made and the entities of an earlier
// chart (layout.earlier_chart) taken out, nothing else changed.
std::string splice_chart(const std::string& bytes, const DxfLayout& layout,
                         const ChartInsertions& insertions);

// A real as the chart's DXF writes it: fixed point, at most twelve
// decimals, without trailing zeros.
std::string dxf_real(double value);

}  // namespace holechart_dxf
