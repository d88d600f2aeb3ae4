// Which of the drawing's circles and arcs are holes: every circle; arcs of
// one centre and radius that together close a full turn, as one circle (a
// ring); and an arc of more than a half turn, unless both its ends meet
// other geometry (then it belongs to an outline). Matching is done on a
// grid of the tolerance, sorted, so it costs n log n, not n squared.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "tools/holechart_dxf/drawing_geometry.hpp"

namespace holechart_dxf {

// Centres, radii and ends closer than this are the same.
constexpr double kMatchTolerance = 0.001;

// A hole: the placed round that stands for it, and for a ring (arcs that
// close a full turn, taken as one circle) the round whose tag it takes.
struct FoundHole {
    int round;
    int ring_tag;  // -1: no ring
};

struct HoleFinding {
    // In the order of the drawing, with references placed where they stand.
    std::vector<FoundHole> holes;
    int in_references = 0;  // holes placed from block references
    int rings = 0;          // circles joined from arcs
    int outline_arcs = 0;   // arcs over a half turn taken as part of an outline
};

HoleFinding find_holes(const PlacedDrawing& placed, const DrawingGeometry& geometry, bool all_arcs);

// Which holes to chart: those whose centre lies in a box, and those on some
// layers (a ring by its first arc). Either may be left open.
struct HoleSelection {
    bool box = false;
    double min_x = 0.0, min_y = 0.0, max_x = 0.0, max_y = 0.0;
    std::vector<std::string> layers;  // upper-cased tokens; empty: every layer
};

// Keeps the holes the selection takes, in their order. Returns how many it
// left out.
int select_holes(HoleFinding& found, const PlacedDrawing& placed, const DrawingGeometry& geometry,
                 const HoleSelection& selection);

// The chart's input: one exchange line per hole. A model-space circle or
// arc has its own line (model_lines, by RoundItem::line); the lines made
// here, of placed holes and rings, are numbered from first_id.
std::vector<std::string> hole_lines(const HoleFinding& found, const PlacedDrawing& placed,
                                    const DrawingGeometry& geometry,
                                    const std::vector<std::string>& model_lines, int first_id);

// Groups points (x, y, and with use_third a third value such as a radius)
// that lie within the tolerance of each other, on a grid of the tolerance:
// returns a group number per point (the lowest index in the group). Points in one cell always
// group; points in neighbouring cells group when the first points of their cells are within the
// tolerance of each other in every coordinate. A coordinate that is not
// finite or beyond 1e15 leaves its point on its own.
std::vector<int> group_close_points(const std::vector<std::array<double, 3>>& points,
                                    double tolerance, bool use_third);

}  // namespace holechart_dxf
