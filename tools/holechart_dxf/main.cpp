// holechart-dxf: the hole chart for any CAD program through DXF. Reads a
// DXF drawing, draws the chart of its holes with the tool's own chart pass,
// and writes the drawing back with the chart's lines and texts added.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/common/companion_main.hpp"
#include "tools/common/output_file.hpp"
#include "tools/common/run_outputs.hpp"
#include "tools/holechart_dxf/chart_dxf.hpp"
#include "tools/holechart_dxf/chart_marks.hpp"
#include "tools/holechart_dxf/chart_window.hpp"
#include "tools/holechart_dxf/dxf_reader.hpp"
#include "tools/holechart_dxf/dxf_values.hpp"
#include "tools/holechart_dxf/exchange_lines.hpp"
#include "tools/holechart_dxf/hole_finder.hpp"
#include "tools/holechart_dxf/options.hpp"
#include "tools/holechart_dxf/summary.hpp"
#include "util/version.hpp"

namespace {

constexpr int kRunError = 1;
constexpr int kUsageError = 2;
constexpr double kMebibyte = 1024.0 * 1024.0;

void report(const std::string& message) {
    std::fprintf(stderr, "holechart-dxf: %s\n", message.c_str());
}

// Writes the drawing and, when the options ask for one, the hole table, as
// one unit: neither replaces an earlier file unless both are written.
bool write_drawing(const DxfOptions& options, const std::string& drawing, const RunState& state,
                   std::string& error) {
    std::vector<OutputBytes> outputs = {{options.output, drawing}};
    std::string table;
    if (!options.table.empty()) {
        table = format_hole_table(state.listing, options.table_format);
        outputs.push_back({options.table, table});
    }
    return write_outputs(outputs, error);
}

// A count of bytes as a message gives it.
std::string mebibytes(double bytes) {
    return std::to_string(static_cast<long long>(std::ceil(bytes / kMebibyte))) + " MiB";
}

// "the memory budget of 512 MiB holds (--max-memory raises it)"
std::string budget_text(const DxfOptions& options) {
    return "the memory budget of " + std::to_string(options.max_memory_mib) +
           " MiB holds (--max-memory raises it)";
}

// The drawing read and its references placed; false with the reason when
// that fails or would take more than the budget.
bool read_and_place(const DxfOptions& options, DxfDrawing& drawing, PlacedDrawing& placed,
                    std::string& error) {
    if (!read_dxf_drawing(options.input, drawing, error)) {
        return false;
    }
    placed = drawing.geometry.place(options.max_memory_mib * kMebibyte);
    if (placed.too_many) {
        error = "the block references of " + shown_path(options.input) + " place more than " +
                std::to_string(kMaxPlacedShapes) + " entities and block copies";
        return false;
    }
    if (placed.over_budget) {
        error = "the block references of " + shown_path(options.input) +
                " place more entities than " + budget_text(options);
        return false;
    }
    return true;
}

// Whether charting the holes fits in the budget beside what was placed.
bool chart_fits(const DxfOptions& options, const PlacedDrawing& placed, const HoleFinding& found,
                std::string& error) {
    const double needed =
        placed.bytes() + static_cast<double>(found.holes.size()) * kChartBytesPerHole;
    if (needed <= options.max_memory_mib * kMebibyte) {
        return true;
    }
    error = "charting the " + std::to_string(found.holes.size()) + " holes of " +
            shown_path(options.input) + " takes about " + mebibytes(needed) + ", more than " +
            budget_text(options);
    return false;
}

// The selection the options make, and how it reads in a message.
HoleSelection selection_of(const DxfOptions& options, std::string& named) {
    HoleSelection selection;
    if (options.holes_in_given) {
        const double* b = options.holes_in;
        selection.box = true;
        selection.min_x = std::fmin(b[0], b[2]);
        selection.max_x = std::fmax(b[0], b[2]);
        selection.min_y = std::fmin(b[1], b[3]);
        selection.max_y = std::fmax(b[1], b[3]);
        named = "in the box " + dxf_real(b[0]) + " " + dxf_real(b[1]) + " " + dxf_real(b[2]) + " " +
                dxf_real(b[3]);
    }
    for (std::size_t i = 0; i < options.hole_layers.size(); ++i) {
        selection.layers.push_back(dxf_upper(token_text(options.hole_layers[i], "0")));
        named += std::string(i == 0 ? (named.empty() ? "on " : " on ") : ", ") + "the layer " +
                 shown_path(options.hole_layers[i]);
    }
    return selection;
}

// Keeps the holes that the options select; false with the reason when the
// selection holds none, so that a mistyped box never passes as a drawing
// without holes.
bool select(const DxfOptions& options, const PlacedDrawing& placed, const DxfDrawing& drawing,
            HoleFinding& found, int& left_out, std::string& error) {
    std::string named;
    const HoleSelection selection = selection_of(options, named);
    left_out = select_holes(found, placed, drawing.geometry, selection);
    if (named.empty() || !found.holes.empty()) {
        return true;
    }
    error = "no hole of " + shown_path(options.input) + " lies " + named + " (" +
            counted(left_out, "circle or arc lies", "circles and arcs lie") + " outside)";
    return false;
}

// The rows of the earlier chart whose numbers the holes keep: none without
// --keep-numbers, and none, with a note, when the drawing holds no such
// chart or its marks cannot be trusted.
std::vector<EarlierRow> rows_to_keep(const DxfOptions& options, const DxfDrawing& drawing) {
    if (!options.keep_numbers) {
        return {};
    }
    std::string reason = drawing.earlier_rows_fault;
    if (reason.empty() && drawing.earlier_rows.empty()) {
        report("note: " + shown_path(options.input) +
               " holds no chart numbers of this program to keep; the holes are numbered afresh");
        return {};
    }
    if (!reason.empty() || !rows_trusted(drawing.earlier_rows, reason)) {
        report("note: the numbers of the earlier chart in " + shown_path(options.input) +
               " cannot be trusted (" + reason + "); the holes are numbered afresh");
        return {};
    }
    return drawing.earlier_rows;
}

// Writes OUT.dxf (and the table) for a drawing without holes: the drawing
// as it is, less an earlier chart, which would stand for holes that are gone.
int write_without_holes(const DxfOptions& options, const DxfDrawing& drawing, const RunState& state,
                        const std::string& left_out) {
    std::string error;
    const bool had_chart = !drawing.layout.earlier_chart.empty();
    const std::string bytes =
        had_chart ? splice_chart(drawing.bytes, drawing.layout, ChartInsertions{}) : drawing.bytes;
    if (!write_drawing(options, bytes, state, error)) {
        report(error);
        return kRunError;
    }
    report("no holes in " + shown_path(options.input) + ": " + shown_output(options.output) +
           " is a copy of it" + (had_chart ? " without its earlier chart" : "") + left_out);
    return 0;
}

// Reads, charts and writes. Returns the exit code.
int chart_dxf(const DxfOptions& options) {
    DxfDrawing drawing;
    PlacedDrawing placed;
    std::string error;
    if (!read_and_place(options, drawing, placed, error)) {
        report(error);
        return kRunError;
    }
    HoleFinding found = find_holes(placed, drawing.geometry, options.all_arcs);
    int selected_out = 0;
    if (!select(options, placed, drawing, found, selected_out, error) ||
        !chart_fits(options, placed, found, error)) {
        report(error);
        return kRunError;
    }
    const std::vector<std::string> holes = hole_lines(
        found, placed, drawing.geometry, drawing.lines, static_cast<int>(drawing.lines.size()) + 1);
    const double text_height =
        options.text_height_given
            ? options.text_height
            : default_text_height(drawing.insertion_units, drawing.measurement, placed.extents);
    const std::vector<EarlierRow> earlier = rows_to_keep(options, drawing);
    RunState state;
    bool holes_found = false;
    if (!draw_chart(options, text_height, placed.extents, holes, earlier, state, holes_found,
                    error)) {
        report(error);
        return kRunError;
    }
    const std::string left_out = left_out_text(drawing, placed, found, selected_out);
    if (!holes_found) {
        return write_without_holes(options, drawing, state, left_out);
    }
    if (drawing.layout.entities_end == kNoOffset) {
        report(shown_path(options.input) + " has no complete ENTITIES section to add the chart to");
        return kRunError;
    }
    ChartInsertions insertions;
    if (!format_chart_dxf(state, drawing.layout, insertions, error)) {
        report(shown_path(options.input) + ": " + error);
        return kRunError;
    }
    if (!write_drawing(options, splice_chart(drawing.bytes, drawing.layout, insertions), state,
                       error)) {
        report(error);
        return kRunError;
    }
    report(charted_text(state, found, text_height) + left_out +
           (earlier.empty() ? "" : numbering_text(state.listing.numbering)));
    return 0;
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
    if (!options.force && (output_is_an_input({options.input}, options.output, error) ||
                           output_is_an_input({options.input}, options.table, error))) {
        report(error);
        return kUsageError;
    }
    if (!options.table.empty() && same_output_file(options.output, options.table)) {
        report("the table and the drawing cannot be one file: " + shown_path(options.table));
        return kUsageError;
    }
    return chart_dxf(options);
}

}  // namespace

int main(int argc, char** argv) {
    return run_companion("holechart-dxf", run, argc, argv);
}
