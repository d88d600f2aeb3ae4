#include "tools/holechart_dxf/dxf_geometry.hpp"

#include <cmath>

#include "geometry/geometry.hpp"

namespace holechart_dxf {

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

namespace {

// A text's characters are estimated as wide as the text is high, which is
// generous, and the lines of a multi-line text 5/3 of its height apart.
constexpr double kCharacterWidth = 1.0;
constexpr double kMTextLineSpacing = 5.0 / 3.0;
// Below and above the baseline of a text of height 1, by its vertical
// justification: baseline or bottom, middle, top; and around an attribute.
constexpr double kDescent = 0.3;
constexpr double kMiddle = 0.65;
constexpr double kBelowTop = 1.3;
constexpr double kAroundAttribute = 1.3;

// The corners of a box from `at`: along the direction from -left to
// width - left, across it from bottom to top.
std::array<Point, 4> box_corners(Point at, EntityPlane plane, double angle_degrees, double width,
                                 double left, double bottom, double top) {
    const double t = angle_degrees * kDegreesToRadians;
    const Point along{std::cos(t), std::sin(t)};
    const Point up{-along.y, along.x};
    std::array<Point, 4> corners;
    std::size_t i = 0;
    for (const double x : {-left, width - left}) {
        for (const double y : {bottom, top}) {
            const Point corner{at.x + along.x * x + up.x * y, at.y + along.y * x + up.y * y};
            corners[i++] = to_drawing(corner, plane);
        }
    }
    return corners;
}

double characters_width(const TextData& text) {
    const double factor = text.width_factor > 0.0 ? text.width_factor : 1.0;
    return static_cast<double>(text.text.size()) * kCharacterWidth * text.height * factor;
}

// The lines of a multi-line text: at "\P" and line ends.
std::vector<std::size_t> paragraph_lengths(const std::string& text) {
    std::vector<std::size_t> lengths(1, 0);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'P')) {
            i += text[i] == '\\' ? 1 : 0;
            lengths.push_back(0);
        } else {
            lengths.back() += 1;
        }
    }
    return lengths;
}

}  // namespace

Point text_anchor(const TextData& text) {
    const int h = text.horizontal;
    const bool by_first_point = (h == 0 && text.vertical == 0) || h == 3 || h == 5;
    // A text without its second point is placed by its first.
    if (by_first_point || !std::isfinite(text.second_x) || !std::isfinite(text.second_y)) {
        return Point{text.x, text.y};
    }
    return Point{text.second_x, text.second_y};
}

std::array<Point, 4> text_box(const TextData& text, EntityPlane plane) {
    const int h = text.horizontal;
    const int v = text.vertical;
    const Point first{text.x, text.y};
    const Point anchor = text_anchor(text);
    double width = characters_width(text);
    // Aligned and fit texts fill the way between their two points.
    if (h == 3 || h == 5) {
        width = std::fmax(width, distance_between(first, anchor));
    }
    const double left = h == 1 || h == 4 ? width / 2.0 : h == 2 ? width : 0.0;
    const bool middle = v == 2 || h == 4;
    const double hh = text.height;
    const double bottom = v == 3 ? -kBelowTop * hh : middle ? -kMiddle * hh : -kDescent * hh;
    const double top = v == 3 ? 0.0 : middle ? kMiddle * hh : hh;
    const bool by_first_point = (h == 0 && v == 0) || h == 3 || h == 5;
    return box_corners(by_first_point ? first : anchor, plane, text.angle, width, left, bottom,
                       top);
}

std::array<Point, 4> attribute_box(const TextData& text, EntityPlane plane) {
    const double width = characters_width(text);
    const bool by_first_point = text.horizontal == 0 && text.vertical == 0;
    const Point at =
        by_first_point || !std::isfinite(text.second_x) || !std::isfinite(text.second_y)
            ? Point{text.x, text.y}
            : Point{text.second_x, text.second_y};
    const double reach = kAroundAttribute * text.height;
    return box_corners(at, plane, text.angle, width, width, -reach, reach);
}

double mtext_angle(const MTextData& text) {
    if (std::isfinite(text.angle)) {
        return normalise_degrees(text.angle);
    }
    const double x = text.direction_x;
    const double y = text.direction_y;
    if (!std::isfinite(x) || !std::isfinite(y)) {
        return 0.0;
    }
    return normalise_degrees(std::atan2(y, x) * kRadiansToDegrees);
}

std::array<Point, 4> mtext_box(const MTextData& text, const std::string& whole, EntityPlane plane) {
    const int attachment = text.attachment >= 1 && text.attachment <= 9 ? text.attachment : 1;
    double width = 0.0;
    double lines = 0.0;
    for (const std::size_t length : paragraph_lengths(whole)) {
        const double natural = static_cast<double>(length) * kCharacterWidth * text.height;
        if (text.width > 0.0) {
            lines += std::fmax(1.0, std::ceil(natural / text.width));
        } else {
            lines += 1.0;
            width = std::fmax(width, natural);
        }
    }
    if (text.width > 0.0) {
        width = text.width;
    }
    const double height = lines * text.height * kMTextLineSpacing;
    const int column = (attachment - 1) % 3;
    const int row = (attachment - 1) / 3;
    const double left = width * 0.5 * column;
    const double top = height * 0.5 * row;
    return box_corners(Point{text.x, text.y}, plane, mtext_angle(text), width, left, top - height,
                       top);
}

namespace {

Point point_of(double x, double y) {
    return Point{x, y};
}

// The angle between two lines, 0 to 180.
double angle_between(double first, double second) {
    const double between = normalise_degrees(second - first);
    return between > 180.0 ? 360.0 - between : between;
}

}  // namespace

bool dimension_geometry(const DimensionData& d, DimensionValues& v) {
    const Point p10 = point_of(d.x10, d.y10);
    const Point p13 = point_of(d.x13, d.y13);
    const Point p14 = point_of(d.x14, d.y14);
    const Point p15 = point_of(d.x15, d.y15);
    switch (d.type & 7) {
        case 0:  // linear: the feet of the two points on the dimension line
            v.p1 = p13;
            v.p2 = p14;
            v.p4 = foot_on_line(p13, p10, d.angle);
            v.p5 = foot_on_line(p14, p10, d.angle);
            v.value = distance_between(v.p4, v.p5);
            v.angle = normalise_degrees(d.angle);
            return true;
        case 1: {  // aligned: the dimension line parallel to the two points
            const double direction = direction_of(p13, p14);
            v.p1 = p13;
            v.p2 = p14;
            v.p4 = foot_on_line(p13, p10, direction);
            v.p5 = foot_on_line(p14, p10, direction);
            v.value = distance_between(p13, p14);
            v.angle = direction;
            return true;
        }
        case 2:  // the angle between the lines 13 -> 14 and 15 -> 10
            v.p1 = p14;
            v.p2 = p10;
            v.value = angle_between(direction_of(p13, p14), direction_of(p15, p10));
            break;
        case 3:  // diameter: across the curve, between two opposite points
            v.p1 = p15;
            v.p2 = p10;
            v.value = distance_between(v.p1, v.p2);
            break;
        case 4:  // radius: from the centre to the point on the curve
            v.p1 = p10;
            v.p2 = p15;
            v.value = distance_between(v.p1, v.p2);
            break;
        case 5:  // the angle at the vertex (15) from the first point to the second
            v.p1 = p13;
            v.p2 = p14;
            v.value = normalise_degrees(direction_of(p15, p14) - direction_of(p15, p13));
            break;
        case 6:  // ordinate: the feature's x or y from the dimension's origin
            v.p1 = p13;
            v.p2 = p14;
            v.value = (d.type & 64) != 0 ? std::fabs(p13.x - d.x10) : std::fabs(p13.y - d.y10);
            break;
        default:
            return false;
    }
    v.p4 = v.p1;
    v.p5 = v.p2;
    return true;
}

}  // namespace holechart_dxf
