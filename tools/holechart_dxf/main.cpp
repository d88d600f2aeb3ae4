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
#include "tools/holechart_dxf/chart_window.hpp"
#include "tools/holechart_dxf/dxf_reader.hpp"
#include "tools/holechart_dxf/exchange_lines.hpp"
#include "tools/holechart_dxf/hole_finder.hpp"
#include "tools/holechart_dxf/options.hpp"
#include "util/version.hpp"

namespace {

constexpr int kRunError = 1;
constexpr int kUsageError = 2;
constexpr double kMebibyte = 1024.0 * 1024.0;

void report(const std::string& message) {
    std::fprintf(stderr, "holechart-dxf: %s\n", message.c_str());
}

std::string counted(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// What was charted: the chart's rows, the holes from block references and
// from rings of arcs, and the text height.
std::string charted_text(const RunState& state, const HoleFinding& found, double text_height) {
    std::string text =
        counted(static_cast<int>(state.listing.holes.size()), "hole", "holes") + " charted";
    std::vector<std::string> parts;
    if (found.in_references > 0) {
        parts.push_back(counted(found.in_references, "circle or arc", "circles and arcs") +
                        " from block references");
    }
    if (found.rings > 0) {
        parts.push_back(counted(found.rings, "circle", "circles") + " joined from arcs");
    }
    for (std::size_t i = 0; i < parts.size(); ++i) {
        text += (i == 0 ? " (" : ", ") + parts[i];
    }
    text += parts.empty() ? "" : ")";
    return text + ", text height " + dxf_real(text_height);
}

// What looks round or was read but is not charted, for the end of the
// summary line: so that no drawing full of round features passes as one
// without holes.
std::string left_out_text(const DxfDrawing& drawing, const PlacedDrawing& placed,
                          const HoleFinding& found) {
    const int* round = placed.round_outlines;
    const std::pair<int, std::string> items[] = {
        {round[static_cast<int>(RoundOutline::faceted_polygon)],
         counted(round[static_cast<int>(RoundOutline::faceted_polygon)],
                 "faceted circle (a polyline of straight sides)",
                 "faceted circles (polylines of straight sides)")},
        {round[static_cast<int>(RoundOutline::closed_spline)],
         counted(round[static_cast<int>(RoundOutline::closed_spline)], "round closed spline",
                 "round closed splines")},
        {round[static_cast<int>(RoundOutline::circular_ellipse)],
         counted(round[static_cast<int>(RoundOutline::circular_ellipse)], "circular ellipse",
                 "circular ellipses")},
        {found.outline_arcs, counted(found.outline_arcs, "arc", "arcs") +
                                 " over a half turn whose ends join an outline"},
        {placed.unequally_scaled,
         counted(placed.unequally_scaled, "circle or arc", "circles and arcs") +
             " made elliptic by a block reference's unequal scales"},
        {placed.collapsed, counted(placed.collapsed, "circle or arc", "circles and arcs") +
                               " made flat by a block reference's zero scale"},
        {placed.no_radius, counted(placed.no_radius, "circle or arc", "circles and arcs") +
                               " with a radius of 0 or less"},
        {placed.missing_blocks,
         counted(placed.missing_blocks, "reference", "references") + " to a missing block"},
        {placed.too_deep, counted(placed.too_deep, "block reference", "block references") +
                              " nested deeper than " + std::to_string(kMaxNesting) +
                              " or in itself"},
    };
    std::string text;
    for (const auto& item : items) {
        if (item.first > 0) {
            text += (text.empty() ? "; not charted: " : ", ") + item.second;
        }
    }
    if (drawing.tilted > 0) {
        text += "; " + counted(drawing.tilted, "entity does", "entities do") +
                " not lie in the drawing plane and " + (drawing.tilted == 1 ? "is" : "are") +
                " left out";
    }
    return text;
}

// Writes the drawing and, when the options ask for one, the hole table, as
// one unit: neither replaces an earlier file unless both are written.
bool write_drawing(const DxfOptions& options, const std::string& drawing, const RunState& state,
                   std::string& error) {
    std::vector<OutputBytes> outputs = {{options.output, drawing}};
    std::string table;
    if (!options.table.empty()) {
        table =
            format_hole_table(state.listing, options.table_format, options.table_byte_order_mark);
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
    const HoleFinding found = find_holes(placed, drawing.geometry, options.all_arcs);
    if (!chart_fits(options, placed, found, error)) {
        report(error);
        return kRunError;
    }
    const std::vector<std::string> holes = hole_lines(
        found, placed, drawing.geometry, drawing.lines, static_cast<int>(drawing.lines.size()) + 1);
    const double text_height =
        options.text_height_given
            ? options.text_height
            : default_text_height(drawing.insertion_units, drawing.measurement, placed.extents);
    RunState state;
    bool holes_found = false;
    if (!draw_chart(options, text_height, placed.extents, holes, state, holes_found, error)) {
        report(error);
        return kRunError;
    }
    const std::string left_out = left_out_text(drawing, placed, found);
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
    report(charted_text(state, found, text_height) + left_out);
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
