// The geometry of turning DXF entities into exchange records: object
// coordinate systems, polyline bulges, the boxes of texts and the points of
// dimensions. Pure functions; all angles are in degrees.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "geometry/point.hpp"
#include "tools/holechart_dxf/dxf_kinds.hpp"

namespace holechart_dxf {

// The plane of a planar entity as its extrusion direction gives it: the
// drawing plane seen from above (+Z), the drawing plane seen from below (-Z,
// what mirroring makes), or a tilted plane.
enum class EntityPlane { top, mirrored, tilted };
EntityPlane plane_of(double ex, double ey, double ez);

// A point of the entity's own coordinate system in drawing coordinates; x
// changes sign on a mirrored plane.
Point to_drawing(Point p, EntityPlane plane);

// An angle in [0, 360).
double normalise_degrees(double angle);

// Start and end angle of an arc, counter-clockwise, in drawing coordinates:
// a mirrored arc runs the other way round, from 180 - end to 180 - start.
struct ArcAngles {
    double start;
    double end;
};
ArcAngles arc_angles_in_drawing(double start, double end, EntityPlane plane);

// The arc of a polyline segment from a to b with the given bulge (the
// tangent of a quarter of its angle; positive counter-clockwise), as a
// counter-clockwise arc from start to end. Returns false when the segment
// has no arc: a bulge of 0 or a and b at one place.
struct BulgeArc {
    Point centre;
    double radius;
    double start;
    double end;
};
bool bulge_arc(Point a, Point b, double bulge, BulgeArc& arc);

// The foot of p on the line through `through` in the direction `angle`.
Point foot_on_line(Point p, Point through, double angle);

double direction_of(Point from, Point to);
double distance_between(Point a, Point b);

// Whether the points lie on one circle around their centroid, within 1 % of
// its radius: a faceted circle's corners, a round spline's points.
bool on_one_circle(const std::vector<Point>& points);

// Where a TEXT is placed: its first point when it is left on the baseline,
// aligned or fit (or has no second point), else its second.
Point text_anchor(const TextData& text);

// The box a text covers, estimated from its characters (each as wide as the
// text is high, times its width factor, which is generous): its four
// corners in drawing coordinates. A TEXT by its justification; an
// attribute around its placing point.
std::array<Point, 4> text_box(const TextData& text, EntityPlane plane);
std::array<Point, 4> attribute_box(const TextData& text, EntityPlane plane);

// An MTEXT's rotation: group 50, else the direction of its x axis, else 0.
double mtext_angle(const MTextData& text);
// The box of an MTEXT: as wide as its reference width, which wraps its
// lines, or as its longest line; its lines 5/3 of its height apart; placed
// by its attachment point.
std::array<Point, 4> mtext_box(const MTextData& text, const std::string& whole, EntityPlane plane);

// What a dimension's exchange record holds besides its head.
struct DimensionValues {
    int type = 0;
    std::string style;  // a token already
    Point p1;           // the measured points
    Point p2;
    Point p4;  // the ends of the dimension line
    Point p5;
    double value = 0.0;  // the measured value
    double text_height = 0.0;
    Point text_at;
    double angle = 0.0;  // of the text
    std::string text;    // a token already
};

// The measured points, the dimension line and the measured value of a
// dimension of type 0 to 6 (group 70 without its flags); false for any
// other type. Style, text and text height are the caller's.
bool dimension_geometry(const DimensionData& d, DimensionValues& values);

}  // namespace holechart_dxf
