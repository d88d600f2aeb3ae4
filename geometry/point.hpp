// A point of the drawing plane.
#pragma once

struct Point {
    double x = 0.0;
    double y = 0.0;
};
