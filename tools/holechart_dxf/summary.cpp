#include "tools/holechart_dxf/summary.hpp"

#include <utility>
#include <vector>

#include "tools/holechart_dxf/chart_dxf.hpp"

namespace holechart_dxf {

std::string counted(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

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

std::string left_out_text(const DxfDrawing& drawing, const PlacedDrawing& placed,
                          const HoleFinding& found, int selected_out) {
    const int* round = placed.round_outlines;
    const std::pair<int, std::string> items[] = {
        {selected_out,
         counted(selected_out, "circle or arc", "circles and arcs") + " outside the selection"},
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

std::string numbering_text(const RowNumbering& numbering) {
    std::string text = "; numbers: " + std::to_string(numbering.kept) + " kept, " +
                       std::to_string(numbering.fresh) + " new, retired: ";
    if (numbering.retired.empty()) {
        return text + "none";
    }
    for (std::size_t i = 0; i < numbering.retired.size(); ++i) {
        text += (i == 0 ? "" : ", ") + std::to_string(numbering.retired[i]);
    }
    return text;
}

}  // namespace holechart_dxf
