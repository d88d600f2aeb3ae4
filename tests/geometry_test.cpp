// The numeric helpers: the tolerance bands and the quirks that follow from
// using 1e-9 in one test and 5e-9 in another are part of what the reader and
// the chart rely on, so they are checked to the exact value where the rules
// give one.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "geometry/geometry.hpp"
#include "tests/support/named_case.hpp"

namespace {

constexpr double kPi = 3.14159265358979323846;

// atan(2) in degrees, the direction of a line rising 2 per 1.
const double kAtan2Deg = std::atan(2.0) * 180.0 / kPi;

struct DirectionCase : testsupport::NamedCase {
    double x1, y1, x2, y2;
    double expected;
    bool exact;  // false where the value passes through atan
};

class DirectionAngleTest : public ::testing::TestWithParam<DirectionCase> {};

TEST_P(DirectionAngleTest, GivesAngle) {
    const DirectionCase& c = GetParam();
    const double angle = compute_direction_angle(c.x1, c.y1, c.x2, c.y2);
    if (c.exact) {
        EXPECT_EQ(angle, c.expected);
    } else {
        EXPECT_NEAR(angle, c.expected, 1e-12);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Directions, DirectionAngleTest,
    ::testing::Values(DirectionCase{"East", 0, 0, 1, 0, 0.0, true},
                      DirectionCase{"North", 0, 0, 0, 1, 90.0, true},
                      DirectionCase{"West", 0, 0, -1, 0, 180.0, true},
                      DirectionCase{"South", 0, 0, 0, -1, 270.0, true},
                      DirectionCase{"NorthEast", 0, 0, 1, 1, 45.0, false},
                      DirectionCase{"NorthWest", 0, 0, -1, 1, 135.0, false},
                      DirectionCase{"SouthWest", 0, 0, -1, -1, 225.0, false},
                      DirectionCase{"SouthEast", 0, 0, 1, -1, 315.0, false},
                      DirectionCase{"ZeroLength", 5, 7, 5, 7, 0.0, true},
                      DirectionCase{"OffOrigin", 10, 20, 11, 22, kAtan2Deg, false},
                      DirectionCase{"OffOriginReversed", 11, 22, 10, 20, 180.0 + kAtan2Deg, false},
                      // A fall in y between 1e-9 and 5e-9 counts as horizontal
                      // for the base angle but as downwards for the quadrant.
                      DirectionCase{"SmallFallGives360", 0, 0, 1, -3e-9, 360.0, true},
                      DirectionCase{"SmallFallNoRunGives360", 0, 0, 0, -3e-9, 360.0, true},
                      DirectionCase{"SmallFallWestGives180", 0, 0, -1, -3e-9, 180.0, true},
                      DirectionCase{"SmallRiseGives0", 0, 0, 1, 3e-9, 0.0, true},
                      DirectionCase{"FallBelowPointTolerance", 0, 0, 1, -0.5e-9, 0.0, true},
                      DirectionCase{"FallBeyondRealTolerance", 0, 0, 0, -6e-9, 270.0, true},
                      // x within 5e-9 is vertical whichever side it lies on.
                      DirectionCase{"NearVerticalUpRight", 0, 0, 3e-9, 1, 90.0, true},
                      DirectionCase{"NearVerticalUpLeft", 0, 0, -3e-9, 1, 90.0, true},
                      DirectionCase{"NearVerticalDownLeft", 0, 0, -3e-9, -1, 270.0, true}),
    testsupport::CaseName{});

struct LineCase : testsupport::NamedCase {
    double x1, y1, x2, y2;
    double slope;
    bool slope_exact;
    double intercept;
    double angle;
    bool angle_exact;
};

class LineParamsTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineParamsTest, GivesSlopeInterceptAngle) {
    const LineCase& c = GetParam();
    const LineParams p = compute_line_params(c.x1, c.y1, c.x2, c.y2);
    if (c.slope_exact) {
        EXPECT_EQ(p.slope, c.slope);
    } else {
        EXPECT_NEAR(p.slope, c.slope, 1e-12);
    }
    // Every intercept below is exact in binary arithmetic.
    EXPECT_EQ(p.intercept, c.intercept);
    if (c.angle_exact) {
        EXPECT_EQ(p.angle, c.angle);
    } else {
        EXPECT_NEAR(p.angle, c.angle, 1e-12);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LineParamsTest,
    ::testing::Values(LineCase{"VerticalUp", 3, 1, 3, 7, 99999999.9, true, 3, 90, true},
                      LineCase{"VerticalDown", 3, 7, 3, 1, 99999999.9, true, 3, 270, true},
                      LineCase{"NearVertical", 3, 1, 3 + 3e-9, 7, 99999999.9, true, 3, 90, true},
                      LineCase{"HorizontalEast", 1, 4, 9, 4, 0, true, 4, 0, true},
                      LineCase{"HorizontalWest", 9, 4, 1, 4, 0, true, 4, 180, true},
                      LineCase{"NearHorizontalRise", 1, 4, 9, 4 + 4e-9, 0, true, 4, 0, true},
                      LineCase{"NearHorizontalFallGives360", 1, 4, 9, 4 - 4e-9, 0, true, 4, 360,
                               true},
                      LineCase{"ZeroLength", 2, 2, 2, 2, 0, true, 2, 0, true},
                      LineCase{"Rising", 0, 1, 1, 3, 2, false, 1, kAtan2Deg, false},
                      LineCase{"RisingReversed", 1, 3, 0, 1, 2, false, 1, 180 + kAtan2Deg, false},
                      LineCase{"RisingOffAxis", 2, 3, 4, 7, 2, false, -1, kAtan2Deg, false},
                      // The slope carries no sign; the intercept does follow the signed
                      // slope of the line.
                      LineCase{"Falling", 0, 5, 5, 0, 1, false, 5, 315, false},
                      LineCase{"FallingReversed", 5, 0, 0, 5, 1, false, 5, 135, false}),
    testsupport::CaseName{});

TEST(ComputeSweepTest, SweepsCounterClockwiseAndNeverZero) {
    struct Case {
        double start, end, expected;
    };
    const Case cases[] = {
        {350, 10, 20},
        {10, 350, 340},
        {90, 90, 360},
        {0, 360, 360},
        {0, 0, 360},
        {180, 0, 180},
        {270, 90, 180},
        // Below the 1e-8 floor either way round, an arc is a full turn.
        {0, 1e-9, 360},
        {359.999999995, 0, 360},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(compute_sweep(c.start, c.end), c.expected) << c.start << " -> " << c.end;
    }
    EXPECT_EQ(compute_sweep(0, 2e-8), 2e-8);
    EXPECT_NEAR(compute_sweep(45, 45 - 1e-6), 360 - 1e-6, 1e-9);
}

TEST(ArcEndPointsTest, EndWrapsPastFullTurn) {
    // 350 + 20 = 370 wraps to 10 degrees.
    const PointPair p = compute_arc_end_points(10, 20, 5, 350, 20);
    EXPECT_NEAR(p.sx, 10 + 5 * std::cos(350 * kPi / 180), 1e-12);
    EXPECT_NEAR(p.sy, 20 + 5 * std::sin(350 * kPi / 180), 1e-12);
    EXPECT_NEAR(p.ex, 10 + 5 * std::cos(10 * kPi / 180), 1e-12);
    EXPECT_NEAR(p.ey, 20 + 5 * std::sin(10 * kPi / 180), 1e-12);
}

TEST(ArcEndPointsTest, FullCircleEndsWhereItStarts) {
    const PointPair p = compute_arc_end_points(3, 4, 2.5, 0, 360);
    EXPECT_EQ(p.sx, 5.5);
    EXPECT_EQ(p.sy, 4.0);
    EXPECT_EQ(p.ex, p.sx);
    EXPECT_EQ(p.ey, p.sy);
}

TEST(ArcEndPointsTest, EndAtExactly360WrapsToZero) {
    // cos 0 and sin 0 are exact, so the wrapped end is exact too.
    const PointPair p = compute_arc_end_points(1, 1, 2, 90, 270);
    EXPECT_NEAR(p.sx, 1.0, 1e-15);
    EXPECT_EQ(p.sy, 3.0);
    EXPECT_EQ(p.ex, 3.0);
    EXPECT_EQ(p.ey, 1.0);
}

TEST(PolarOffsetTest, TakesDegrees) {
    const Offset east = compute_polar_offset(2, 0);
    EXPECT_EQ(east.dx, 2.0);
    EXPECT_EQ(east.dy, 0.0);
    const Offset north = compute_polar_offset(2, 90);
    EXPECT_NEAR(north.dx, 0.0, 1e-15);
    EXPECT_EQ(north.dy, 2.0);
    const Offset sw = compute_polar_offset(std::sqrt(2.0), 225);
    EXPECT_NEAR(sw.dx, -1.0, 1e-15);
    EXPECT_NEAR(sw.dy, -1.0, 1e-15);
}

TEST(ComputeDistanceTest, ShortcutsAreExact) {
    struct Case {
        const char* name;
        double x1, y1, x2, y2, expected;
    };
    const Case cases[] = {
        {"NearlySamePoint", 1, 1, 1 + 5e-10, 1 - 5e-10, 0.0},
        {"SamePoint", 7, -3, 7, -3, 0.0},
        {"SameX", 2, 3, 2, 7, 4.0},
        {"SameXDownwards", 2, 7, 2, 3, 4.0},
        {"NearlySameX", 2, 3, 2 + 5e-10, 7, 4.0},
        {"SameY", 3, 2, 8, 2, 5.0},
        {"NearlySameY", 3, 2, 8, 2 + 5e-10, 5.0},
        // Below 1e-9 the small offset is dropped, not added in quadrature.
        {"TinySegment", 0, 0, 2e-9, 9e-10, 2e-9},
        {"General", 0, 0, 3, 4, 5.0},
        {"GeneralNegative", 1, 1, -2, -3, 5.0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(compute_distance(c.x1, c.y1, c.x2, c.y2), c.expected) << c.name;
    }
}

TEST(CompareRealsTolTest, BandOfEquality) {
    struct Case {
        double a, b;
        int expected;
    };
    const Case cases[] = {
        {1, 1 + 4e-9, 0},
        {1, 1 + 6e-9, -1},
        {1 + 6e-9, 1, 1},
        {1 + 4e-9, 1, 0},
        {2, 2, 0},
        {0, 4.999e-9, 0},
        {0, 5.001e-9, -1},
        {5.001e-9, 0, 1},
        // A difference of exactly 5e-9 is neither below -5e-9 nor inside
        // the band, so both orders give 1.
        {0, 5e-9, 1},
        {5e-9, 0, 1},
        {-1e300, 1e300, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(compare_reals_tol(c.a, c.b), c.expected) << c.a << " vs " << c.b;
    }
}

TEST(CompareIntsTolTest, SignOfWrappedDifference) {
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    struct Case {
        int32_t a, b;
        int expected;
    };
    const Case cases[] = {
        {3, 5, -1},
        {5, 5, 0},
        {7, 5, 1},
        {-1, 0, -1},
        {0, -1, 1},
        // The difference wraps as a 32-bit integer.
        {kMin, 1, 1},
        {kMax, -1, -1},
        {0, kMin, -1},
        {kMax, kMax, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(compare_ints_tol(c.a, c.b), c.expected) << c.a << " vs " << c.b;
    }
}

TEST(EvalDegreeTrigTest, NamedFunctionsInDegrees) {
    EXPECT_NEAR(eval_degree_trig(30, "sin"), 0.5, 1e-15);
    EXPECT_NEAR(eval_degree_trig(60, "cos"), 0.5, 1e-15);
    EXPECT_NEAR(eval_degree_trig(45, "tan"), 1.0, 1e-15);
    EXPECT_NEAR(eval_degree_trig(0.5, "asin"), 30.0, 1e-12);
    EXPECT_NEAR(eval_degree_trig(0.5, "acos"), 60.0, 1e-12);
    EXPECT_NEAR(eval_degree_trig(1.0, "atan"), 45.0, 1e-12);
    EXPECT_EQ(eval_degree_trig(0, "sin"), 0.0);
    EXPECT_EQ(eval_degree_trig(0, "cos"), 1.0);
    EXPECT_EQ(eval_degree_trig(1.0, "acos"), 0.0);
    // Out-of-range arguments reach the standard functions unchecked.
    EXPECT_TRUE(std::isnan(eval_degree_trig(2.0, "asin")));
}

TEST(EvalDegreeTrigTest, NamesAreExactAndCaseSensitive) {
    for (const char* name : {"SIN", "Cos", "atan2", "", "tan "}) {
        EXPECT_EQ(eval_degree_trig(30, name), 0.0) << '"' << name << '"';
    }
}

}  // namespace
