#include "tools/holechart_dxf/dxf_geometry.hpp"

#include <cmath>

#include "geometry/geometry.hpp"

namespace {

// How far from the Z axis an extrusion may point and still be the drawing
// plane: DXF writers round the direction to a few decimals.
constexpr double kPlaneTolerance = 1e-9;
// How far (as a share of the radius) points may stray from one circle and
// still look round.
constexpr double kRoundShare = 0.01;

}  // namespace

EntityPlane plane_of(double ex, double ey, double ez) {
    const double length = std::sqrt(ex * ex + ey * ey + ez * ez);
    if (!(length > 0.0)) {
        // No direction at all: read as the default, the drawing plane.
        return EntityPlane::top;
    }
    if (std::fabs(ex) / length > kPlaneTolerance || std::fabs(ey) / length > kPlaneTolerance) {
        return EntityPlane::tilted;
    }
    return ez > 0.0 ? EntityPlane::top : EntityPlane::mirrored;
}

Point to_drawing(Point p, EntityPlane plane) {
    // The arbitrary axis rule of DXF gives, for the extrusion (0, 0, -1), the
    // x axis (-1, 0, 0) and the y axis (0, 1, 0).
    return plane == EntityPlane::mirrored ? Point{-p.x, p.y} : p;
}

double normalise_degrees(double angle) {
    double a = std::fmod(angle, 360.0);
    if (a < 0.0) {
        a += 360.0;
    }
    // fmod of a value just below a multiple of 360 can round up to 360.
    return a >= 360.0 ? 0.0 : a;
}

ArcAngles arc_angles_in_drawing(double start, double end, EntityPlane plane) {
    if (plane == EntityPlane::mirrored) {
        return ArcAngles{normalise_degrees(180.0 - end), normalise_degrees(180.0 - start)};
    }
    return ArcAngles{normalise_degrees(start), normalise_degrees(end)};
}

bool bulge_arc(Point a, Point b, double bulge, BulgeArc& arc) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double chord = std::sqrt(dx * dx + dy * dy);
    if (bulge == 0.0 || !(chord > 0.0) || !std::isfinite(bulge)) {
        return false;
    }
    // The centre lies on the chord's perpendicular bisector, at (1 - b^2) /
    // (4 b) chords to the left of a -> b: left for a counter-clockwise arc
    // of less than a half turn, right beyond it, mirrored for a clockwise one.
    const double offset = (1.0 - bulge * bulge) / (4.0 * bulge);
    const Point centre{(a.x + b.x) / 2.0 - dy * offset, (a.y + b.y) / 2.0 + dx * offset};
    arc.centre = centre;
    arc.radius = chord * (1.0 + bulge * bulge) / (4.0 * std::fabs(bulge));
    const double angle_a =
        normalise_degrees(std::atan2(a.y - centre.y, a.x - centre.x) * kRadiansToDegrees);
    const double angle_b =
        normalise_degrees(std::atan2(b.y - centre.y, b.x - centre.x) * kRadiansToDegrees);
    // A clockwise segment is the counter-clockwise arc from b back to a.
    arc.start = bulge > 0.0 ? angle_a : angle_b;
    arc.end = bulge > 0.0 ? angle_b : angle_a;
    return true;
}

Point foot_on_line(Point p, Point through, double angle) {
    const double ux = std::cos(angle * kDegreesToRadians);
    const double uy = std::sin(angle * kDegreesToRadians);
    const double t = (p.x - through.x) * ux + (p.y - through.y) * uy;
    return Point{through.x + t * ux, through.y + t * uy};
}

double direction_of(Point from, Point to) {
    return normalise_degrees(std::atan2(to.y - from.y, to.x - from.x) * kRadiansToDegrees);
}

double distance_between(Point a, Point b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

bool on_one_circle(const std::vector<Point>& points) {
    if (points.size() < 3) {
        return false;
    }
    Point centre{0.0, 0.0};
    for (const Point& p : points) {
        centre.x += p.x;
        centre.y += p.y;
    }
    centre.x /= static_cast<double>(points.size());
    centre.y /= static_cast<double>(points.size());
    double least = HUGE_VAL;
    double most = 0.0;
    for (const Point& p : points) {
        const double r = distance_between(centre, p);
        least = std::fmin(least, r);
        most = std::fmax(most, r);
    }
    return most > 0.0 && most - least <= kRoundShare * most;
}
