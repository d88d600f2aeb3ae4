// holechart-dxf: the hole chart for any CAD program through DXF. Reads a
// DXF drawing, draws the chart of its holes with the tool's own chart pass,
// and writes the drawing back with the chart's lines and texts added.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/common/companion_main.hpp"
#include "tools/common/output_file.hpp"
#include "tools/holechart_dxf/chart_dxf.hpp"
#include "tools/holechart_dxf/chart_window.hpp"
#include "tools/holechart_dxf/dxf_reader.hpp"
#include "tools/holechart_dxf/exchange_lines.hpp"
#include "tools/holechart_dxf/options.hpp"
#include "util/version.hpp"

namespace {

constexpr int kRunError = 1;
constexpr int kUsageError = 2;

void report(const std::string& message) {
    std::fprintf(stderr, "holechart-dxf: %s\n", message.c_str());
}

// The message line of a run error, without its line end.
std::string message_of(const RunError& error) {
    std::string message = error.message_line;
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
        message.pop_back();
    }
    return message;
}

int run(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    DxfOptions options;
    std::string error;
    if (!parse_options(args, options, error)) {
        report(error);
        return kUsageError;
    }
    if (options.help) {
        std::fputs(usage_text(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("holechart-dxf %s\n", holechart_version());
        return 0;
    }
    if (!options.force && output_is_an_input({options.input}, options.output, error)) {
        report(error);
        return kUsageError;
    }

    DxfDrawing drawing;
    if (!read_dxf_drawing(options.input, drawing, error)) {
        report(error);
        return kRunError;
    }
    EntityList records;
    if (!read_exchange_lines(drawing.lines, records, error)) {
        report(error);
        return kRunError;
    }
    const int count = static_cast<int>(drawing.lines.size());

    RunState state;
    bool holes_found = false;
    if (const std::optional<RunError> run_error =
            draw_chart(options, records, count, state, holes_found)) {
        report(message_of(*run_error));
        return kRunError;
    }
    if (drawing.tilted > 0) {
        report("warning: " + std::to_string(drawing.tilted) +
               (drawing.tilted == 1 ? " entity does" : " entities do") +
               " not lie in the drawing plane and " + (drawing.tilted == 1 ? "is" : "are") +
               " left out of the chart");
    }
    if (!holes_found) {
        if (!write_output(options.output, drawing.bytes, error)) {
            report(error);
            return kRunError;
        }
        report("no holes in " + shown_path(options.input) + ": " + shown_output(options.output) +
               " is a copy of it");
        return 0;
    }
    if (drawing.layout.entities_end == kNoOffset) {
        report(shown_path(options.input) + " has no complete ENTITIES section to add the chart to");
        return kRunError;
    }

    const ChartInsertions insertions = format_chart_dxf(state, drawing.layout);
    if (!write_output(options.output, splice_chart(drawing.bytes, drawing.layout, insertions),
                      error)) {
        report(error);
        return kRunError;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return run_companion("holechart-dxf", run, argc, argv);
}
