// The whole run of holechart-dxf on a drawing's bytes, in memory: read the
// drawing, place its block references, find and select its holes, chart
// them with the tool's own chart pass, and make OUT.dxf and the hole table.
// The program around it reads and writes the files; the fuzz target runs it
// as it is.
#pragma once

#include <string>
#include <vector>

#include "tools/holechart_dxf/options.hpp"

namespace holechart_dxf {

struct BridgeResult {
    std::string drawing;             // OUT.dxf
    std::string table;               // the hole table, when the options ask for one
    std::vector<std::string> notes;  // lines to say before the summary
    std::string summary;             // what was charted and what was not
};

// Charts the drawing whose bytes are given (options.input names it in
// messages). Returns false with a one-line reason when it cannot be read,
// charted or given the chart.
bool run_bridge(const DxfOptions& options, std::string bytes, BridgeResult& result,
                std::string& error);

}  // namespace holechart_dxf
