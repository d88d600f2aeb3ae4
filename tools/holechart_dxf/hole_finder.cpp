#include "tools/holechart_dxf/hole_finder.hpp"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "geometry/geometry.hpp"
#include "tools/holechart_dxf/dxf_values.hpp"

namespace holechart_dxf {

namespace {

constexpr double kLargestCoordinate = 1e15;

using Cell = std::array<long long, 3>;

bool cell_of(const std::array<double, 3>& p, double tolerance, Cell& cell) {
    for (int i = 0; i < 3; ++i) {
        if (!(std::fabs(p[i]) <= kLargestCoordinate)) {
            return false;
        }
        cell[i] = static_cast<long long>(std::floor(p[i] / tolerance));
    }
    return true;
}

struct CellEntry {
    Cell cell;
    int index;
    bool operator<(const CellEntry& other) const { return cell < other.cell; }
};

// The entries of a grid, sorted by cell, for looking up the neighbours of
// a point.
class Grid {
  public:
    Grid(const std::vector<std::array<double, 3>>& points, double tolerance)
        : tolerance_(tolerance) {
        entries_.reserve(points.size());
        for (std::size_t i = 0; i < points.size(); ++i) {
            Cell cell{};
            if (cell_of(points[i], tolerance, cell)) {
                entries_.push_back(CellEntry{cell, static_cast<int>(i)});
            }
        }
        std::stable_sort(entries_.begin(), entries_.end());
    }

    const std::vector<CellEntry>& entries() const { return entries_; }

    // Calls visit(index) for every entry in the cells around p (the third
    // coordinate too when depth is 1).
    template <typename Visit>
    void around(const std::array<double, 3>& p, int depth, Visit&& visit) const {
        Cell centre{};
        if (!cell_of(p, tolerance_, centre)) {
            return;
        }
        for (long long dx = -1; dx <= 1; ++dx) {
            for (long long dy = -1; dy <= 1; ++dy) {
                for (long long dz = -depth; dz <= depth; ++dz) {
                    const CellEntry key{{centre[0] + dx, centre[1] + dy, centre[2] + dz}, 0};
                    auto range = std::equal_range(entries_.begin(), entries_.end(), key);
                    for (auto it = range.first; it != range.second; ++it) {
                        if (!visit(it->index)) {
                            break;  // enough from this cell
                        }
                    }
                }
            }
        }
    }

  private:
    double tolerance_;
    std::vector<CellEntry> entries_;
};

int find_root(std::vector<int>& parent, int i) {
    while (parent[static_cast<std::size_t>(i)] != i) {
        parent[static_cast<std::size_t>(i)] =
            parent[static_cast<std::size_t>(parent[static_cast<std::size_t>(i)])];
        i = parent[static_cast<std::size_t>(i)];
    }
    return i;
}

bool within(const std::array<double, 3>& a, const std::array<double, 3>& b, double tolerance) {
    return std::fabs(a[0] - b[0]) <= tolerance && std::fabs(a[1] - b[1]) <= tolerance &&
           std::fabs(a[2] - b[2]) <= tolerance;
}

// Whether arcs (degrees, counter-clockwise) cover the whole turn, with gaps
// no wider than gap degrees.
bool closes_full_turn(std::vector<std::pair<double, double>> arcs, double gap) {
    if (arcs.empty()) {
        return false;
    }
    std::sort(arcs.begin(), arcs.end());
    const std::size_t n = arcs.size();
    for (std::size_t i = 0; i < n; ++i) {
        arcs.push_back({arcs[i].first + 360.0, arcs[i].second});
    }
    const double first = arcs[0].first;
    double reach = first;
    for (const auto& arc : arcs) {
        if (arc.first > reach + gap) {
            return false;
        }
        reach = std::fmax(reach, arc.first + arc.second);
        if (reach >= first + 360.0 - gap) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::vector<int> group_close_points(const std::vector<std::array<double, 3>>& points,
                                    double tolerance, bool use_third) {
    std::vector<int> parent(points.size());
    std::iota(parent.begin(), parent.end(), 0);
    const Grid grid(points, tolerance);
    const std::vector<CellEntry>& entries = grid.entries();
    // One cell, one group; its first point stands for it.
    std::vector<int> leaders;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i > 0 && entries[i].cell == entries[i - 1].cell) {
            parent[static_cast<std::size_t>(entries[i].index)] =
                find_root(parent, entries[i - 1].index);
        } else {
            leaders.push_back(entries[i].index);
        }
    }
    for (int leader : leaders) {
        const auto& p = points[static_cast<std::size_t>(leader)];
        grid.around(p, use_third ? 1 : 0, [&](int other) {
            if (within(p, points[static_cast<std::size_t>(other)], tolerance)) {
                const int a = find_root(parent, leader);
                const int b = find_root(parent, other);
                parent[static_cast<std::size_t>(std::max(a, b))] = std::min(a, b);
            }
            return false;  // only the cell's first point
        });
    }
    std::vector<int> group(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        group[i] = find_root(parent, static_cast<int>(i));
    }
    return group;
}

namespace {

// The rings among the arcs: ring_of[i] is the group (an index into
// members) of the ring that round i is part of, or -1.
struct Rings {
    std::vector<std::vector<int>> members;
    std::vector<int> ring_of;
};

Rings find_rings(const std::vector<RoundItem>& rounds) {
    // Arcs grouped by centre and radius.
    std::vector<int> arcs;
    std::vector<std::array<double, 3>> keys;
    for (std::size_t i = 0; i < rounds.size(); ++i) {
        if (!rounds[i].full) {
            arcs.push_back(static_cast<int>(i));
            keys.push_back({rounds[i].centre.x, rounds[i].centre.y, rounds[i].radius});
        }
    }
    const std::vector<int> arc_group = group_close_points(keys, kMatchTolerance, true);
    Rings rings;
    rings.members.resize(arcs.size());
    for (std::size_t k = 0; k < arcs.size(); ++k) {
        rings.members[static_cast<std::size_t>(arc_group[k])].push_back(arcs[k]);
    }
    rings.ring_of.assign(rounds.size(), -1);
    for (std::size_t g = 0; g < rings.members.size(); ++g) {
        const std::vector<int>& group = rings.members[g];
        if (group.size() < 2) {
            continue;
        }
        std::vector<std::pair<double, double>> spans;
        for (int i : group) {
            const RoundItem& arc = rounds[static_cast<std::size_t>(i)];
            spans.push_back({arc.start, arc.sweep()});
        }
        const double radius = rounds[static_cast<std::size_t>(group[0])].radius;
        const double gap = radius > 0.0 ? kMatchTolerance / radius * kRadiansToDegrees : 0.0;
        if (closes_full_turn(spans, std::fmax(gap, 1e-9))) {
            for (int i : group) {
                rings.ring_of[static_cast<std::size_t>(i)] = static_cast<int>(g);
            }
        }
    }
    return rings;
}

// Which ends of the arcs in question meet the end of another piece. Only
// those ends go into a grid; every end of the drawing is looked up in it,
// so memory follows the arcs in question, not the drawing's lines.
class EndMatcher {
  public:
    EndMatcher(const std::vector<EndPoint>& ends, const std::vector<std::size_t>& asked)
        : met_(asked.size(), false) {
        std::vector<std::array<double, 3>> points;
        points.reserve(asked.size());
        for (const std::size_t end : asked) {
            points.push_back({ends[end].at.x, ends[end].at.y, 0.0});
        }
        const Grid grid(points, kMatchTolerance);
        for (const EndPoint& e : ends) {
            grid.around({e.at.x, e.at.y, 0.0}, 0, [&](int k) {
                const EndPoint& a = ends[asked[static_cast<std::size_t>(k)]];
                if (a.piece != e.piece &&
                    std::hypot(a.at.x - e.at.x, a.at.y - e.at.y) <= kMatchTolerance) {
                    met_[static_cast<std::size_t>(k)] = true;
                }
                return true;
            });
        }
    }

    // Whether the k-th end asked about meets another piece.
    bool met(std::size_t k) const { return met_[k]; }

  private:
    std::vector<bool> met_;
};

// The round of a ring whose tag the ring takes: the first of its arcs that
// has one, else the first.
int tag_round(const std::vector<int>& group, const std::vector<RoundItem>& rounds,
              const DrawingGeometry& geometry) {
    for (int k : group) {
        if (geometry.head(rounds[static_cast<std::size_t>(k)].head).head.tag != "NO") {
            return k;
        }
    }
    return group.front();
}

}  // namespace

namespace {

// Whether a round is a hole but for the outline rule: a circle, or an arc
// over a half turn.
bool round_hole(const RoundItem& item) {
    return item.full || item.sweep() > kHalfTurn;
}

// The ends of the arcs over a half turn that are no part of a ring: an arc
// whose ends both meet other pieces is an outline's.
std::vector<std::size_t> ends_in_question(const std::vector<RoundItem>& rounds,
                                          const Rings& rings) {
    std::vector<std::size_t> asked;
    for (std::size_t i = 0; i < rounds.size(); ++i) {
        if (rings.ring_of[i] < 0 && !rounds[i].full && round_hole(rounds[i])) {
            asked.push_back(end_index(rounds[i].piece, 0));
            asked.push_back(end_index(rounds[i].piece, 1));
        }
    }
    return asked;
}

}  // namespace

HoleFinding find_holes(const PlacedDrawing& placed, const DrawingGeometry& geometry,
                       bool all_arcs) {
    HoleFinding found;
    const std::vector<RoundItem>& rounds = placed.rounds;
    const Rings rings = find_rings(rounds);
    const std::vector<std::size_t> asked =
        all_arcs ? std::vector<std::size_t>() : ends_in_question(rounds, rings);
    const EndMatcher ends(placed.ends, asked);
    std::size_t next_asked = 0;
    for (std::size_t i = 0; i < rounds.size(); ++i) {
        const RoundItem& item = rounds[i];
        const int ring = rings.ring_of[i];
        FoundHole hole{static_cast<int>(i), -1};
        if (ring >= 0) {
            // The ring's first arc stands for it.
            const std::vector<int>& group = rings.members[static_cast<std::size_t>(ring)];
            if (group.front() != static_cast<int>(i)) {
                continue;
            }
            hole.ring_tag = tag_round(group, rounds, geometry);
            found.rings += 1;
        } else if (!round_hole(item)) {
            continue;
        } else if (!item.full && !all_arcs) {
            const bool outline = ends.met(next_asked) && ends.met(next_asked + 1);
            next_asked += 2;
            if (outline) {
                found.outline_arcs += 1;
                continue;
            }
        }
        found.holes.push_back(hole);
        found.in_references += item.inherit >= 0 ? 1 : 0;
    }
    return found;
}

int select_holes(HoleFinding& found, const PlacedDrawing& placed, const DrawingGeometry& geometry,
                 const HoleSelection& selection) {
    auto selected = [&](const FoundHole& hole) {
        const RoundItem& item = placed.rounds[static_cast<std::size_t>(hole.round)];
        const Point c = item.centre;
        if (selection.box && !(c.x >= selection.min_x && c.x <= selection.max_x &&
                               c.y >= selection.min_y && c.y <= selection.max_y)) {
            return false;
        }
        if (selection.layers.empty()) {
            return true;
        }
        const std::string layer = dxf_upper(geometry.resolved_head(item, placed).layer);
        return std::find(selection.layers.begin(), selection.layers.end(), layer) !=
               selection.layers.end();
    };
    std::vector<FoundHole> kept;
    found.in_references = 0;
    found.rings = 0;
    for (const FoundHole& hole : found.holes) {
        if (selected(hole)) {
            kept.push_back(hole);
            found.in_references += placed.rounds[static_cast<std::size_t>(hole.round)].inherit >= 0;
            found.rings += hole.ring_tag >= 0 ? 1 : 0;
        }
    }
    const int left_out = static_cast<int>(found.holes.size() - kept.size());
    found.holes = std::move(kept);
    return left_out;
}

std::vector<std::string> hole_lines(const HoleFinding& found, const PlacedDrawing& placed,
                                    const DrawingGeometry& geometry,
                                    const std::vector<std::string>& model_lines, int first_id) {
    std::vector<std::string> lines;
    lines.reserve(found.holes.size());
    int next_id = first_id;
    for (const FoundHole& hole : found.holes) {
        const RoundItem& item = placed.rounds[static_cast<std::size_t>(hole.round)];
        const bool ring = hole.ring_tag >= 0;
        if (!ring && item.line >= 0) {
            lines.push_back(model_lines[static_cast<std::size_t>(item.line)]);
            continue;
        }
        RecordHead head = geometry.resolved_head(item, placed);
        head.id = next_id++;
        if (ring) {
            // A ring is the circle of its arcs, with the first tag of them.
            const RoundItem& tagged = placed.rounds[static_cast<std::size_t>(hole.ring_tag)];
            head.tag = geometry.head(tagged.head).head.tag;
            lines.push_back(circle_record(head, item.centre, item.radius));
        } else if (item.segment >= 0) {
            const BulgeSegment& segment = placed.segments[static_cast<std::size_t>(item.segment)];
            lines.push_back(
                polyline_arc_record(head, segment.a, segment.b, segment.bulge,
                                    BulgeArc{item.centre, item.radius, item.start, item.end}));
        } else {
            lines.push_back(arc_record(head, item.centre, item.radius, item.start, item.end));
        }
    }
    return lines;
}

}  // namespace holechart_dxf
