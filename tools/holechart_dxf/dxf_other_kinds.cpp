// The entities that get no record of their own: what they add to the
// drawing's extent (texts by an estimated box, curves by their points) and
// the round outlines among them, which look like holes but are not charted.
#include <algorithm>
#include <cmath>

#include "geometry/geometry.hpp"
#include "tools/holechart_dxf/dxf_entities.hpp"  // EntityMapper, whose other part this is

namespace {

constexpr double kTwoPi = 6.283185307179586;
// How far an ellipse's axes may differ and it still be a circle.
constexpr double kCircularRatio = 1e-6;

}  // namespace

void EntityMapper::take_other_kind(const DxfObject& object) {
    if (object.points.empty()) {
        return;
    }
    const bool model = object.section == "ENTITIES" && !object.chart_mark && !object.paper_space;
    const bool block = object.section == "BLOCKS" && geometry_.in_block();
    if (model || block) {
        for (const Point& p : object.points) {
            geometry_.add_point(p);
        }
    }
}

void EntityMapper::add_text_box(Point at, EntityPlane plane, double angle_degrees, double width,
                                double left, double bottom, double top) {
    const double t = angle_degrees * kDegreesToRadians;
    const Point along{std::cos(t), std::sin(t)};
    const Point up{-along.y, along.x};
    for (const double x : {-left, width - left}) {
        for (const double y : {bottom, top}) {
            const Point corner{at.x + along.x * x + up.x * y, at.y + along.y * x + up.y * y};
            geometry_.add_point(to_drawing(corner, plane));
        }
    }
}

void EntityMapper::addAttribute(const DL_AttributeData& data) {
    // An attribute shows as a text but is no record of the drawing.
    const Target target = take_entity();
    const EntityPlane plane = target == Target::none ? EntityPlane::tilted : entity_plane(target);
    if (plane == EntityPlane::tilted) {
        return;
    }
    const double factor = data.xScaleFactor > 0.0 ? data.xScaleFactor : 1.0;
    const std::size_t chars = std::max(data.text.size(), structure.completing.text_chars);
    const double width = static_cast<double>(chars) * kCharacterWidth * data.height * factor;
    const bool by_first_point = data.hJustification == 0 && data.vJustification == 0;
    const Point at = by_first_point ? Point{data.ipx, data.ipy} : Point{data.apx, data.apy};
    add_text_box(at, plane, data.angle * kRadiansToDegrees, width, width, -1.3 * data.height,
                 1.3 * data.height);
}

void EntityMapper::addTrace(const DL_TraceData& data) {
    const Target target = take_entity();
    const EntityPlane plane = target == Target::none ? EntityPlane::tilted : entity_plane(target);
    if (plane != EntityPlane::tilted) {
        for (int i = 0; i < 4; ++i) {
            geometry_.add_point(to_drawing(Point{data.x[i], data.y[i]}, plane));
        }
    }
}

void EntityMapper::add3dFace(const DL_3dFaceData& data) {
    // In drawing coordinates: seen from above, whatever its corners' heights.
    if (take_entity() != Target::none) {
        for (int i = 0; i < 4; ++i) {
            geometry_.add_point(Point{data.x[i], data.y[i]});
        }
    }
}

void EntityMapper::addEllipse(const DL_EllipseData& data) {
    const Target target = take_entity();
    if (target == Target::none) {
        return;
    }
    // Centre and axis are in drawing coordinates; the extrusion only says
    // which way the parameter turns.
    const double* d = getExtrusion()->getDirection();
    if (entity_plane(target) == EntityPlane::tilted) {
        return;
    }
    Shape shape;
    shape.kind = ShapeKind::ellipse;
    shape.centre = Point{data.cx, data.cy};
    shape.u = Point{data.mx, data.my};
    const double turn = d[2] < 0.0 ? -1.0 : 1.0;
    shape.v = Point{-turn * data.ratio * data.my, turn * data.ratio * data.mx};
    double sweep = std::fmod(data.angle2 - data.angle1, kTwoPi);
    if (sweep <= 1e-12) {
        sweep += kTwoPi;
    }
    shape.start = data.angle1;
    shape.end = data.angle1 + sweep;
    geometry_.add(shape);
    const bool full = sweep >= kTwoPi - 1e-9;
    if (full && std::fabs(std::fabs(data.ratio) - 1.0) <= kCircularRatio) {
        Shape round;
        round.kind = ShapeKind::round_outline;
        round.index = static_cast<int>(RoundOutline::circular_ellipse);
        geometry_.add(round);
    } else if (!full) {
        auto at = [&](double t) {
            return Point{shape.centre.x + shape.u.x * std::cos(t) + shape.v.x * std::sin(t),
                         shape.centre.y + shape.u.y * std::cos(t) + shape.v.y * std::sin(t)};
        };
        Shape ends;
        ends.kind = ShapeKind::ends;
        ends.a = at(shape.start);
        ends.b = at(shape.end);
        geometry_.add(ends);
    }
}

void EntityMapper::addSpline(const DL_SplineData& data) {
    const Target target = take_entity();
    // In drawing coordinates, whatever its extrusion.
    spline_ = PendingCurve{};
    spline_.target = target;
    spline_.closed = (data.flags & 1) != 0;
}

void EntityMapper::addControlPoint(const DL_ControlPointData& data) {
    if (spline_.target != Target::none) {
        spline_.control.push_back(Point{data.x, data.y});
    }
}

void EntityMapper::addFitPoint(const DL_FitPointData& data) {
    if (spline_.target != Target::none) {
        spline_.fit.push_back(Point{data.x, data.y});
    }
}

void EntityMapper::flush_spline() {
    if (spline_.target == Target::none) {
        return;
    }
    PendingCurve s = std::move(spline_);
    spline_ = PendingCurve{};
    // The curve lies within its control points and passes its fit points.
    for (const Point& p : s.control) {
        geometry_.add_point(p);
    }
    for (const Point& p : s.fit) {
        geometry_.add_point(p);
    }
    const std::vector<Point>& on_curve = s.fit.size() >= 2 ? s.fit : s.control;
    if (on_curve.size() < 2) {
        return;
    }
    const bool closed = s.closed || distance_between(on_curve.front(), on_curve.back()) <= 0.0;
    if (!closed) {
        Shape ends;
        ends.kind = ShapeKind::ends;
        ends.a = on_curve.front();
        ends.b = on_curve.back();
        geometry_.add(ends);
        return;
    }
    std::vector<Point> points = on_curve;
    if (distance_between(points.front(), points.back()) <= 0.0) {
        points.pop_back();
    }
    if (on_one_circle(points)) {
        Shape round;
        round.kind = ShapeKind::round_outline;
        round.index = static_cast<int>(RoundOutline::closed_spline);
        geometry_.add(round);
    }
}

void EntityMapper::addHatch(const DL_HatchData&) {
    hatch_ = take_entity();
    hatch_plane_ = hatch_ == Target::none ? EntityPlane::top : entity_plane(hatch_);
    if (hatch_plane_ == EntityPlane::tilted) {
        hatch_ = Target::none;
    }
}

void EntityMapper::addHatchEdge(const DL_HatchEdgeData& data) {
    if (hatch_ == Target::none) {
        return;
    }
    // The boundary in the hatch's plane: a line's ends, the box of an arc's
    // or ellipse's whole circle, a spline's points, a polyline's vertices.
    const EntityPlane plane = hatch_plane_;
    auto add = [&](double x, double y) { geometry_.add_point(to_drawing(Point{x, y}, plane)); };
    switch (data.type) {
        case 1:
            add(data.x1, data.y1);
            add(data.x2, data.y2);
            break;
        case 2:
            add(data.cx - data.radius, data.cy - data.radius);
            add(data.cx + data.radius, data.cy + data.radius);
            break;
        case 3: {
            const double reach = std::hypot(data.mx, data.my);
            add(data.cx - reach, data.cy - reach);
            add(data.cx + reach, data.cy + reach);
            break;
        }
        default:
            break;
    }
    for (const auto& points : {data.controlPoints, data.fitPoints, data.vertices}) {
        for (const std::vector<double>& p : points) {
            if (p.size() >= 2) {
                add(p[0], p[1]);
            }
        }
    }
}

void EntityMapper::addLeader(const DL_LeaderData&) {
    leader_ = PendingCurve{};
    leader_.target = take_entity();
}

void EntityMapper::addLeaderVertex(const DL_LeaderVertexData& data) {
    if (leader_.target != Target::none) {
        geometry_.add_point(Point{data.x, data.y});
    }
}

void EntityMapper::addImage(const DL_ImageData& data) {
    if (take_entity() == Target::none) {
        return;
    }
    const Point at{data.ipx, data.ipy};
    const Point u{data.ux * data.width, data.uy * data.width};
    const Point v{data.vx * data.height, data.vy * data.height};
    geometry_.add_point(at);
    geometry_.add_point(Point{at.x + u.x, at.y + u.y});
    geometry_.add_point(Point{at.x + v.x, at.y + v.y});
    geometry_.add_point(Point{at.x + u.x + v.x, at.y + u.y + v.y});
}
