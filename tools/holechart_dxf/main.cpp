// holechart-dxf: the hole chart for any CAD program through DXF. Reads a
// DXF drawing, draws the chart of its holes with the tool's own chart pass,
// and writes the drawing back with the chart's lines and texts added.
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "tools/common/command_line.hpp"
#include "tools/common/companion_main.hpp"
#include "tools/common/input_file.hpp"
#include "tools/common/run_outputs.hpp"
#include "tools/holechart_dxf/bridge.hpp"
#include "tools/holechart_dxf/options.hpp"

namespace holechart_dxf {

namespace {

using companion::kRunError;

void report(const std::string& message) {
    std::fprintf(stderr, "holechart-dxf: %s\n", message.c_str());
}

// Reads the drawing, charts it and writes OUT.dxf and the table as one
// unit. Returns the exit code.
int chart_file(const DxfOptions& options) {
    std::string bytes;
    std::string error;
    BridgeResult result;
    if (companion::read_input_file(options.input, std::numeric_limits<std::uint64_t>::max(), bytes,
                                   error) != companion::InputRead::read ||
        !run_bridge(options, std::move(bytes), result, error)) {
        report(error);
        return kRunError;
    }
    std::vector<companion::OutputBytes> outputs = {{options.output, result.drawing}};
    if (!options.table.empty()) {
        outputs.push_back({options.table, result.table});
    }
    if (!companion::write_outputs(outputs, error)) {
        report(error);
        return kRunError;
    }
    for (const std::string& note : result.notes) {
        report(note);
    }
    report(result.summary);
    return 0;
}

}  // namespace

}  // namespace holechart_dxf

int main(int argc, char** argv) {
    using namespace holechart_dxf;
    return companion::run_program("holechart-dxf", dxf_usage_text(), parse_dxf_options, report,
                                  chart_file, argc, argv);
}
