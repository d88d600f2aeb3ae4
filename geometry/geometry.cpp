#include "geometry/geometry.hpp"

#include <cmath>
#include <cstring>

int compare_reals_tol(double a, double b) {
    const double d = a - b;
    if (d < -kRealTolerance) {
        return -1;
    }
    if (std::fabs(d) < kRealTolerance) {
        return 0;
    }
    return 1;
}

int compare_ints_tol(int32_t a, int32_t b) {
    // The difference is taken as a 32-bit integer; unsigned arithmetic gives
    // the same wrap without undefined behaviour.
    const auto wrapped = static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
    const double d = static_cast<double>(wrapped);
    if (d < -kIntTolerance) {
        return -1;
    }
    if (std::fabs(d) < kIntTolerance) {
        return 0;
    }
    if (d > kIntTolerance) {
        return 1;
    }
    return 0;
}

// The function is chosen by its name, as the tool's geometry has always
// called it: every angle goes through the same conversion as before, so the
// derived values keep their last bits.
double eval_degree_trig(double value, const char* name) {
    if (std::strcmp(name, "sin") == 0) {
        return std::sin(value * kDegreesToRadians);
    }
    if (std::strcmp(name, "cos") == 0) {
        return std::cos(value * kDegreesToRadians);
    }
    if (std::strcmp(name, "tan") == 0) {
        return std::tan(value * kDegreesToRadians);
    }
    if (std::strcmp(name, "asin") == 0) {
        return std::asin(value) * kRadiansToDegrees;
    }
    if (std::strcmp(name, "acos") == 0) {
        return std::acos(value) * kRadiansToDegrees;
    }
    if (std::strcmp(name, "atan") == 0) {
        return std::atan(value) * kRadiansToDegrees;
    }
    return 0.0;
}

double compute_direction_angle(double x1, double y1, double x2, double y2) {
    double base;
    if (compare_reals_tol(y2, y1) == 0) {
        base = 0.0;
    } else if (compare_reals_tol(x2, x1) == 0) {
        base = 90.0;
    } else {
        base = eval_degree_trig(std::fabs(y2 - y1) / std::fabs(x2 - x1), "atan");
    }
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    if (dx < -kPointTolerance && dy > -kPointTolerance) {
        return 180.0 - base;
    }
    if (dx < -kPointTolerance && dy < kPointTolerance) {
        return 180.0 + base;
    }
    if (dx > -kPointTolerance && dy < -kPointTolerance) {
        return 360.0 - base;
    }
    return base;
}

LineParams compute_line_params(double x1, double y1, double x2, double y2) {
    LineParams result{};
    if (compare_reals_tol(y2, y1) == 0) {
        result.slope = 0.0;
        result.intercept = y1;
    } else if (compare_reals_tol(x2, x1) == 0) {
        result.slope = kVerticalSlope;
        result.intercept = x1;
    } else {
        const double t = eval_degree_trig(std::fabs(y2 - y1) / std::fabs(x2 - x1), "atan");
        result.slope = std::tan(t * kDegreesToRadians);
        result.intercept = y1 - (y1 - y2) / (x1 - x2) * x1;
    }
    result.angle = compute_direction_angle(x1, y1, x2, y2);
    return result;
}

Offset compute_polar_offset(double radius, double angle) {
    const double a = angle * kDegreesToRadians;
    return Offset{std::cos(a) * radius, std::sin(a) * radius};
}

PointPair compute_arc_end_points(double cx, double cy, double radius, double start, double sweep) {
    PointPair result{};
    const Offset s = compute_polar_offset(radius, start);
    result.sx = s.dx + cx;
    result.sy = s.dy + cy;
    double e = start + sweep;
    if (e > kArcWrapThreshold) {
        e = e - 360.0;
    }
    const Offset f = compute_polar_offset(radius, e);
    result.ex = f.dx + cx;
    result.ey = f.dy + cy;
    return result;
}

double compute_distance(double x1, double y1, double x2, double y2) {
    // Points within kPointTolerance on an axis count as on it: the distance is
    // then the other difference alone, or 0. Kept rather than the plain root
    // because the common-centre and row tests have always measured so, and a
    // hole lying on a tolerance edge would otherwise change position.
    const double ax = std::fabs(x1 - x2);
    const double ay = std::fabs(y2 - y1);
    if (ax < kPointTolerance && ay < kPointTolerance) {
        return 0.0;
    }
    if (ax < kPointTolerance) {
        return std::fabs(y2 - y1);
    }
    if (ay < kPointTolerance) {
        return std::fabs(x2 - x1);
    }
    return std::sqrt(std::pow(x1 - x2, 2) + std::pow(y2 - y1, 2));
}

double compute_sweep(double start, double end) {
    double e;
    if (start < end) {
        e = end - start;
    } else {
        e = (end + 360.0) - start;
    }
    if (e < kSweepFloor) {
        return 360.0;
    }
    return e;
}
