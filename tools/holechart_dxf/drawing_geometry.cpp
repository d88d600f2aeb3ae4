#include "tools/holechart_dxf/drawing_geometry.hpp"

#include <algorithm>
#include <cmath>

#include "geometry/geometry.hpp"

namespace holechart_dxf {

namespace {

constexpr double kTwoPi = 6.283185307179586;

Point polar_point(Point centre, double radius, double degrees) {
    const double t = degrees * kDegreesToRadians;
    return {centre.x + radius * std::cos(t), centre.y + radius * std::sin(t)};
}

double direction_degrees(Point from, Point to) {
    double a = std::atan2(to.y - from.y, to.x - from.x) * kRadiansToDegrees;
    if (a < 0.0) {
        a += 360.0;
    }
    return a >= 360.0 ? 0.0 : a;
}

// The part of the ellipse centre + u cos t + v sin t from t0 to t0 + sweep
// (radians): its ends and the parameters where x or y turns.
void include_ellipse(Extents& e, Point c, Point u, Point v, double t0, double sweep) {
    auto at = [&](double t) {
        return Point{c.x + u.x * std::cos(t) + v.x * std::sin(t),
                     c.y + u.y * std::cos(t) + v.y * std::sin(t)};
    };
    if (!(sweep < kTwoPi - 1e-12)) {
        const double hx = std::hypot(u.x, v.x);
        const double hy = std::hypot(u.y, v.y);
        include_point(e, {c.x - hx, c.y - hy});
        include_point(e, {c.x + hx, c.y + hy});
        return;
    }
    include_point(e, at(t0));
    include_point(e, at(t0 + sweep));
    const double turns[] = {std::atan2(v.x, u.x), std::atan2(v.y, u.y)};
    for (double turn : turns) {
        for (double t : {turn, turn + kTwoPi / 2.0}) {
            double from_start = std::fmod(t - t0, kTwoPi);
            if (from_start < 0.0) {
                from_start += kTwoPi;
            }
            if (from_start <= sweep) {
                include_point(e, at(t));
            }
        }
    }
}

// The map of one copy of a reference: the block's base point to the
// insertion point, scaled, rotated and moved along the array, in the
// reference's plane and then into the drawing.
Affine reference_map(const BlockReference& r, Point base, int column, int row) {
    const double t = r.rotation * kDegreesToRadians;
    const double cs = std::cos(t);
    const double sn = std::sin(t);
    Affine m;
    m.a = cs * r.scale_x;
    m.b = -sn * r.scale_y;
    m.c = sn * r.scale_x;
    m.d = cs * r.scale_y;
    const double ox = column * r.column_spacing;
    const double oy = row * r.row_spacing;
    m.tx = r.at.x + cs * ox - sn * oy - (m.a * base.x + m.b * base.y);
    m.ty = r.at.y + sn * ox + cs * oy - (m.c * base.x + m.d * base.y);
    if (r.mirrored) {
        // Seen from below, the plane's x axis is the drawing's -x.
        m.a = -m.a;
        m.b = -m.b;
        m.tx = -m.tx;
    }
    return m;
}

bool keeps_angles(const Affine& m) {
    return m.a == 1.0 && m.b == 0.0 && m.c == 0.0 && m.d == 1.0;
}

}  // namespace

void include_point(Extents& e, Point p) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) {
        return;
    }
    if (e.empty) {
        e = Extents{false, p.x, p.y, p.x, p.y};
        return;
    }
    e.min_x = std::fmin(e.min_x, p.x);
    e.min_y = std::fmin(e.min_y, p.y);
    e.max_x = std::fmax(e.max_x, p.x);
    e.max_y = std::fmax(e.max_y, p.y);
}

double larger_side(const Extents& e) {
    return e.empty ? 0.0 : std::fmax(e.max_x - e.min_x, e.max_y - e.min_y);
}

Affine Affine::after(const Affine& inner) const {
    Affine m;
    m.a = a * inner.a + b * inner.c;
    m.b = a * inner.b + b * inner.d;
    m.c = c * inner.a + d * inner.c;
    m.d = c * inner.b + d * inner.d;
    m.tx = a * inner.tx + b * inner.ty + tx;
    m.ty = c * inner.tx + d * inner.ty + ty;
    return m;
}

double Affine::round_scale() const {
    // Round circles stay round when both columns are as long and at right
    // angles.
    const double sx = std::hypot(a, c);
    const double sy = std::hypot(b, d);
    const double tolerance = 1e-9 * std::fmax(sx, sy);
    if (!(sx > 0.0) || std::fabs(sx - sy) > tolerance ||
        std::fabs(a * b + c * d) > tolerance * sx) {
        return 0.0;
    }
    return sx;
}

DrawingGeometry::DrawingGeometry() : blocks_(1) {}

void DrawingGeometry::begin_block(const std::string& name, Point base) {
    // A second definition of a name is read but not used, as CAD programs
    // keep the first.
    blocks_.push_back(Block{base, {}});
    current_ = static_cast<int>(blocks_.size()) - 1;
    block_index_.emplace(name, current_);
}

void DrawingGeometry::end_block() {
    current_ = 0;
}

int DrawingGeometry::add_head(ShapeHead head) {
    heads_.push_back(std::move(head));
    return static_cast<int>(heads_.size()) - 1;
}

int DrawingGeometry::add_reference(BlockReference reference) {
    references_.push_back(std::move(reference));
    return static_cast<int>(references_.size()) - 1;
}

void DrawingGeometry::add_point(Point p) {
    GeometryShape s;
    s.kind = GeometryShapeKind::point;
    s.a = p;
    add(s);
}

void DrawingGeometry::add_line(Point a, Point b) {
    GeometryShape s;
    s.kind = GeometryShapeKind::line;
    s.a = a;
    s.b = b;
    add(s);
}

namespace {

Inherited inherit_from(const ShapeHead& h, const Inherited* parent) {
    Inherited i;
    i.layer = &h.head.layer;
    i.layer_color = h.layer_color;
    i.layer_line_type = &h.layer_line_type;
    if (parent != nullptr && h.layer_zero) {
        i.layer = parent->layer;
        i.layer_color = parent->layer_color;
        i.layer_line_type = parent->layer_line_type;
    }
    i.color = h.head.color;
    if (parent != nullptr && h.color_by_block) {
        i.color = parent->color;
    } else if (h.color_by_layer) {
        i.color = i.layer_color;
    }
    i.line_style = &h.head.line_style;
    if (parent != nullptr && h.line_type_by_block) {
        i.line_style = parent->line_style;
    } else if (h.line_type_by_layer) {
        i.line_style = i.layer_line_type;
    }
    return i;
}

}  // namespace

RecordHead DrawingGeometry::resolved_head(const RoundItem& item,
                                          const PlacedDrawing& placed) const {
    const ShapeHead& h = heads_[static_cast<std::size_t>(item.head)];
    RecordHead r = h.head;
    if (item.inherit < 0) {
        return r;
    }
    const Inherited i = inherit_from(h, &placed.inherited[static_cast<std::size_t>(item.inherit)]);
    r.layer = *i.layer;
    r.color = i.color;
    r.line_style = *i.line_style;
    return r;
}

struct DrawingGeometry::Walk {
    const DrawingGeometry& g;
    PlacedDrawing& out;
    std::vector<int> path;  // the blocks being placed, outermost first
    double budget = 0.0;
    long long placed = 0;
    int next_piece = 0;

    void add_ends(Point a, Point b) {
        out.ends.push_back(EndPoint{a, next_piece});
        out.ends.push_back(EndPoint{b, next_piece});
        next_piece += 1;
    }

    // Counts one more placed shape or block copy; false, and the placing
    // stops, when that is one too many for the time or the memory it takes.
    bool may_place() {
        if (++placed > kMaxPlacedShapes) {
            out.too_many = true;
        } else if ((placed & 1023) == 0 && out.bytes() > budget) {
            out.over_budget = true;
        }
        return !out.too_many && !out.over_budget;
    }

    void block(int index, const Affine& m, int inherit, bool extents_only) {
        // Each copy counts, so that an array of empty blocks ends too.
        if (!may_place()) {
            return;
        }
        path.push_back(index);
        for (const GeometryShape& s : g.blocks_[static_cast<std::size_t>(index)].shapes) {
            if (!may_place()) {
                break;
            }
            take(s, m, inherit, extents_only);
        }
        path.pop_back();
    }

    void take(const GeometryShape& s, const Affine& m, int inherit, bool extents_only) {
        switch (s.kind) {
            case GeometryShapeKind::point:
                include_point(out.extents, m.apply(s.a));
                break;
            case GeometryShapeKind::line:
            case GeometryShapeKind::ends: {
                const Point a = m.apply(s.a);
                const Point b = m.apply(s.b);
                include_point(out.extents, a);
                include_point(out.extents, b);
                if (!extents_only) {
                    add_ends(a, b);
                }
                break;
            }
            case GeometryShapeKind::ellipse: {
                const double sweep = s.end - s.start;
                include_ellipse(out.extents, m.apply(s.centre), m.apply_vector(s.u),
                                m.apply_vector(s.v), s.start, sweep);
                break;
            }
            case GeometryShapeKind::circle:
            case GeometryShapeKind::arc:
            case GeometryShapeKind::bulge_arc:
                take_round(s, m, inherit, extents_only);
                break;
            case GeometryShapeKind::round_outline:
                if (!extents_only) {
                    out.round_outlines[s.index] += 1;
                }
                break;
            case GeometryShapeKind::insert:
                take_reference(s, m, inherit, extents_only);
                break;
        }
    }

    void take_round(const GeometryShape& s, const Affine& m, int inherit, bool extents_only) {
        const bool full = s.kind == GeometryShapeKind::circle;
        const double sweep = full ? 360.0 : compute_sweep(s.start, s.end);
        const Point centre = m.apply(s.centre);
        include_ellipse(out.extents, centre, m.apply_vector({s.radius, 0.0}),
                        m.apply_vector({0.0, s.radius}), s.start * kDegreesToRadians,
                        sweep * kDegreesToRadians);
        if (extents_only) {
            return;
        }
        RoundItem item;
        item.full = full;
        item.centre = centre;
        item.line = s.line;
        item.head = s.head;
        item.inherit = inherit;
        if (!full) {
            take_arc_ends(s, m, centre, item);
        }
        // A radius of 0 or less, or none that is a number, makes no hole.
        if (!(s.radius > 0.0)) {
            out.no_radius += 1;
            return;
        }
        const double scale = m.round_scale();
        if (!(scale > 0.0)) {
            (m.determinant() == 0.0 ? out.collapsed : out.unequally_scaled) += 1;
            return;
        }
        item.radius = s.radius * scale;
        out.rounds.push_back(item);
    }

    // An arc's own ends, then the arc turned the other way round when the
    // map mirrors it.
    void take_arc_ends(const GeometryShape& s, const Affine& m, Point centre, RoundItem& item) {
        const Point from = m.apply(polar_point(s.centre, s.radius, s.start));
        const Point to = m.apply(polar_point(s.centre, s.radius, s.end));
        item.piece = next_piece;
        add_ends(from, to);
        if (keeps_angles(m)) {
            item.start = s.start;
            item.end = s.end;
        } else if (m.determinant() > 0.0) {
            item.start = direction_degrees(centre, from);
            item.end = direction_degrees(centre, to);
        } else {
            item.start = direction_degrees(centre, to);
            item.end = direction_degrees(centre, from);
        }
        if (s.kind == GeometryShapeKind::bulge_arc) {
            item.segment = static_cast<int>(out.segments.size());
            out.segments.push_back(BulgeSegment{m.apply(s.a), m.apply(s.b),
                                                m.determinant() < 0.0 ? -s.bulge : s.bulge});
        }
    }

    void take_reference(const GeometryShape& s, const Affine& m, int inherit, bool extents_only) {
        const BlockReference& r = g.references_[static_cast<std::size_t>(s.index)];
        const bool only_extents = extents_only || r.extents_only;
        const auto found = g.block_index_.find(r.block);
        if (found == g.block_index_.end()) {
            out.missing_blocks += only_extents ? 0 : 1;
            return;
        }
        if (path.size() > static_cast<std::size_t>(kMaxNesting) ||
            std::find(path.begin(), path.end(), found->second) != path.end()) {
            out.too_deep += only_extents ? 0 : 1;
            return;
        }
        int child = inherit;
        if (!only_extents && s.head >= 0) {
            const Inherited* parent =
                inherit >= 0 ? &out.inherited[static_cast<std::size_t>(inherit)] : nullptr;
            out.inherited.push_back(
                inherit_from(g.heads_[static_cast<std::size_t>(s.head)], parent));
            child = static_cast<int>(out.inherited.size()) - 1;
        }
        const Point base = g.blocks_[static_cast<std::size_t>(found->second)].base;
        // Copies on top of each other show as one.
        const int columns = r.column_spacing != 0.0 ? std::max(1, r.columns) : 1;
        const int rows = r.row_spacing != 0.0 ? std::max(1, r.rows) : 1;
        for (int row = 0; row < rows && !out.too_many && !out.over_budget; ++row) {
            for (int column = 0; column < columns && !out.too_many && !out.over_budget; ++column) {
                block(found->second, m.after(reference_map(r, base, column, row)), child,
                      only_extents);
            }
        }
    }
};

double RoundItem::sweep() const {
    return full ? 360.0 : compute_sweep(start, end);
}

PlacedDrawing DrawingGeometry::place(double budget) const {
    PlacedDrawing out;
    Walk walk{*this, out, {}, budget, 0, 0};
    walk.block(0, Affine{}, -1, false);
    if (!out.too_many && out.bytes() > budget) {
        out.over_budget = true;
    }
    return out;
}

double PlacedDrawing::bytes() const {
    return static_cast<double>(
        rounds.capacity() * sizeof(RoundItem) + segments.capacity() * sizeof(BulgeSegment) +
        ends.capacity() * sizeof(EndPoint) + inherited.capacity() * sizeof(Inherited));
}

}  // namespace holechart_dxf
