// Pure numeric helpers shared by the entity model and the hole chart.
// Every angle that enters or leaves these functions is in degrees.
#pragma once

#include <cstdint>

constexpr double kDegreesToRadians = 0.017453292519943295;
constexpr double kRadiansToDegrees = 57.29577951308232;
constexpr double kVerticalSlope = 99999999.9;
constexpr double kPointTolerance = 1e-9;
constexpr double kRealTolerance = 5e-9;
constexpr double kIntTolerance = 0.0001;
constexpr double kSweepFloor = 1e-8;
constexpr double kArcWrapThreshold = 359.99999999;
// A half turn in degrees: an arc that sweeps more than this is a hole.
constexpr double kHalfTurn = 180.0;

struct LineParams {
    double angle;
    double slope;
    double intercept;
};

struct PointPair {
    double sx, sy;  // start point
    double ex, ey;  // end point
};

struct Offset {
    double dx, dy;
};

// Three-way comparison: -1, 0 or 1, with 5e-9 as the band of equality.
int compare_reals_tol(double a, double b);

// Three-way comparison of two integers through a 0.0001 band; the difference
// wraps as a 32-bit integer would.
int compare_ints_tol(int32_t a, int32_t b);

// sin/cos/tan take degrees, asin/acos/atan return degrees. Any other name
// gives 0.
double eval_degree_trig(double value, const char* name);

double compute_direction_angle(double x1, double y1, double x2, double y2);
LineParams compute_line_params(double x1, double y1, double x2, double y2);
Offset compute_polar_offset(double radius, double angle);
PointPair compute_arc_end_points(double cx, double cy, double radius, double start, double sweep);
double compute_distance(double x1, double y1, double x2, double y2);
double compute_sweep(double start, double end);
