// The geometry of turning DXF entities into exchange records: object
// coordinate systems, polyline bulges and the points of dimensions. All
// angles are in degrees.
#pragma once

#include <vector>

#include "entity/entity_record.hpp"

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
