// holechart-dxf's whole path on arbitrary bytes as a DXF drawing: reading,
// placing the block references, finding and selecting holes, the chart
// pass, OUT.dxf and the hole table, all in memory. Whatever the bytes, the
// run ends with a one-line reason or with an OUT.dxf that the bridge reads
// back without a finding, and charting that OUT.dxf again gives the same
// table: a rerun is stable.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tools/holechart_dxf/bridge.hpp"
#include "tools/holechart_dxf/chart_dxf.hpp"

using companion::TableFormat;
using holechart_dxf::BridgeResult;
using holechart_dxf::DxfOptions;
using holechart_dxf::kHandlesExhausted;
using holechart_dxf::run_bridge;

namespace {

DxfOptions fuzz_options() {
    DxfOptions options;
    options.input = "in.dxf";
    options.output = "out.dxf";
    options.table = "holes.csv";
    options.table_format = TableFormat::csv;
    // Far below what the command line allows, so that what a hostile file
    // places stays quick: the budget's limits are reached all the same.
    options.max_memory_mib = 1;
    return options;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const DxfOptions options = fuzz_options();
    BridgeResult first;
    std::string error;
    if (!run_bridge(options, std::string(reinterpret_cast<const char*>(data), size), first,
                    error)) {
        if (error.empty() || error.find('\n') != std::string::npos) {
            std::abort();  // a failure always says why, in one line
        }
        return 0;
    }
    // OUT.dxf must read back, and charting it again replaces the chart with
    // the same one. Only a file whose handles reach the end of their range
    // may have room for one chart but not for the next: the earlier chart's
    // handles are still taken while the new one is made.
    BridgeResult second;
    if (!run_bridge(options, first.drawing, second, error)) {
        if (error.find(kHandlesExhausted) == std::string::npos) {
            std::abort();
        }
    } else if (second.table != first.table) {
        std::abort();
    }
    return 0;
}
