#include "tools/holechart_dxf/bridge.hpp"

#include <cmath>
#include <utility>

#include "tools/common/output_file.hpp"
#include "tools/holechart_dxf/chart_dxf.hpp"
#include "tools/holechart_dxf/chart_marks.hpp"
#include "tools/holechart_dxf/chart_window.hpp"
#include "tools/holechart_dxf/dxf_reader.hpp"
#include "tools/holechart_dxf/dxf_values.hpp"
#include "tools/holechart_dxf/exchange_lines.hpp"
#include "tools/holechart_dxf/hole_finder.hpp"
#include "tools/holechart_dxf/summary.hpp"

namespace holechart_dxf {

namespace {

constexpr double kMebibyte = 1024.0 * 1024.0;

// What the chart pass gave.
struct Charted {
    RunState state;
    bool holes_found = false;
    double text_height = 0.0;
    std::vector<EarlierRow> kept_numbers;
};

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
bool read_and_place(const DxfOptions& options, std::string bytes, DxfDrawing& drawing,
                    PlacedDrawing& placed, std::string& error) {
    if (!read_dxf_bytes(options.input, std::move(bytes), drawing, error)) {
        return false;
    }
    placed = drawing.geometry.place(options.max_memory_mib * kMebibyte);
    if (placed.too_many) {
        error = "the block references of " + companion::shown_path(options.input) +
                " place more than " + std::to_string(kMaxPlacedShapes) +
                " entities and block copies";
        return false;
    }
    if (placed.over_budget) {
        error = "the block references of " + companion::shown_path(options.input) +
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
            companion::shown_path(options.input) + " takes about " + mebibytes(needed) +
            ", more than " + budget_text(options);
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
                 companion::shown_path(options.hole_layers[i]);
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
    error = "no hole of " + companion::shown_path(options.input) + " lies " + named + " (" +
            counted(left_out, "circle or arc lies", "circles and arcs lie") + " outside)";
    return false;
}

// The rows of the earlier chart whose numbers the holes keep: none without
// --keep-numbers, and none, with a note, when the drawing holds no such
// chart or its marks cannot be trusted.
std::vector<EarlierRow> rows_to_keep(const DxfOptions& options, const DxfDrawing& drawing,
                                     std::vector<std::string>& notes) {
    if (!options.keep_numbers) {
        return {};
    }
    std::string reason = drawing.earlier_rows_fault;
    if (reason.empty() && drawing.earlier_rows.empty()) {
        notes.push_back("note: " + companion::shown_path(options.input) +
                        " holds no chart numbers of this program to keep; the holes are "
                        "numbered afresh");
        return {};
    }
    if (!reason.empty() || !rows_trusted(drawing.earlier_rows, reason)) {
        notes.push_back("note: the numbers of the earlier chart in " +
                        companion::shown_path(options.input) + " cannot be trusted (" + reason +
                        "); the holes are numbered afresh");
        return {};
    }
    return drawing.earlier_rows;
}

// OUT.dxf for a drawing without holes: the drawing as it is, less an
// earlier chart, which would stand for holes that are gone.
void without_holes(const DxfOptions& options, const DxfDrawing& drawing,
                   const std::string& left_out, BridgeResult& result) {
    const bool had_chart = !drawing.layout.earlier_chart.empty();
    result.drawing =
        had_chart ? splice_chart(drawing.bytes, drawing.layout, ChartInsertions{}) : drawing.bytes;
    result.summary = "no holes in " + companion::shown_path(options.input) + ": " +
                     companion::shown_output(options.output) + " is a copy of it" +
                     (had_chart ? " without its earlier chart" : "") + left_out;
}

// The chart of the holes found, drawn into state; false with the reason.
bool chart_holes(const DxfOptions& options, const DxfDrawing& drawing, const PlacedDrawing& placed,
                 const HoleFinding& found, Charted& charted, BridgeResult& result,
                 std::string& error) {
    const std::vector<std::string> holes = hole_lines(
        found, placed, drawing.geometry, drawing.lines, static_cast<int>(drawing.lines.size()) + 1);
    charted.text_height =
        options.text_height_given
            ? options.text_height
            : default_text_height(drawing.insertion_units, drawing.measurement, placed.extents);
    charted.kept_numbers = rows_to_keep(options, drawing, result.notes);
    return draw_chart(options, charted.text_height, placed.extents, holes, charted.kept_numbers,
                      charted.state, charted.holes_found, error);
}

// OUT.dxf with the chart, and the summary; false with the reason.
bool with_chart(const DxfOptions& options, DxfDrawing& drawing, Charted& charted,
                const std::string& said, BridgeResult& result, std::string& error) {
    if (drawing.layout.entities_end == kNoOffset) {
        error = companion::shown_path(options.input) +
                " has no complete ENTITIES section to add the chart to";
        return false;
    }
    ChartInsertions insertions;
    if (!format_chart_dxf(charted.state, drawing.layout, insertions, error)) {
        error = companion::shown_path(options.input) + ": " + error;
        return false;
    }
    result.drawing = splice_chart(drawing.bytes, drawing.layout, insertions);
    result.summary =
        said +
        (charted.kept_numbers.empty() ? "" : numbering_text(charted.state.listing.numbering));
    return true;
}

}  // namespace

bool run_bridge(const DxfOptions& options, std::string bytes, BridgeResult& result,
                std::string& error) {
    result = BridgeResult{};
    DxfDrawing drawing;
    PlacedDrawing placed;
    if (!read_and_place(options, std::move(bytes), drawing, placed, error)) {
        return false;
    }
    HoleFinding found = find_holes(placed, drawing.geometry, options.all_arcs);
    int selected_out = 0;
    Charted charted;
    if (!select(options, placed, drawing, found, selected_out, error) ||
        !chart_fits(options, placed, found, error) ||
        !chart_holes(options, drawing, placed, found, charted, result, error)) {
        return false;
    }
    if (!options.table.empty()) {
        result.table = companion::format_hole_table(charted.state.listing, options.table_format,
                                                    options.table_byte_order_mark);
    }
    const std::string left_out = left_out_text(drawing, placed, found, selected_out);
    if (!charted.holes_found) {
        without_holes(options, drawing, left_out, result);
        return true;
    }
    return with_chart(options, drawing, charted,
                      charted_text(charted.state, found, charted.text_height) + left_out, result,
                      error);
}

}  // namespace holechart_dxf
