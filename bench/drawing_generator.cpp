#include "bench/drawing_generator.hpp"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <iterator>
#include <random>

namespace {

struct Writer {
    std::string& out;
    char buffer[1024];

    void line(const char* format, ...) __attribute__((format(printf, 2, 3)));
};

void Writer::line(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    out.append(buffer, static_cast<std::size_t>(n));
}

// A fixed scramble of 0 to n - 1 (a prime step), so that layouts
// listed "in any order" are listed the same way on every run.
int scrambled(int k, int n) {
    const long long step = 7919;
    return static_cast<int>((static_cast<long long>(k) * step) % n);
}

// Centre, radius and sweep of hole k of n in a laid-out layout.
struct HolePlace {
    double x;
    double y;
    double radius;
    double sweep;  // 360 for a circle
};

HolePlace hole_place(HoleLayout layout, int k, int n) {
    static const double radii[] = {1.6, 2.5, 3.3, 4.25, 5.5, 6.6, 9.0};
    const double radius = radii[k % 7];
    switch (layout) {
        case HoleLayout::grid_bottom_up: {
            // 2.54 mm pitch, as wide as high; every third hole a size up.
            const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n))));
            return HolePlace{10.0 + (k % columns) * 2.54, 10.0 + (k / columns) * 2.54,
                             k % 3 == 0 ? 0.8 : 0.5, 360.0};
        }
        case HoleLayout::row_right_to_left:
            return HolePlace{10.0 + (n - 1 - k) * 2.0, 500.0, 0.5, 360.0};
        case HoleLayout::one_centre:
            return HolePlace{500.0, 500.0, 0.5 + (k % 97) * 0.25, k % 4 == 3 ? 270.0 : 360.0};
        case HoleLayout::tolerance_chain: {
            // Each row within the row tolerance of the next, not of the one
            // after; listed in a scrambled order.
            const int m = scrambled(k, n);
            return HolePlace{100.0 + (m % 11) * 0.006, 100.0 + m * 0.005, radius,
                             185.0 + 5.0 * (m % 36)};
        }
        case HoleLayout::duplicates: {
            // Exactly the same hole four times, differently tagged.
            const int m = scrambled(k / 4, (n + 3) / 4);
            return HolePlace{10.0 + (m % 100) * 8.0, 10.0 + (m / 100) * 8.0, radii[m % 7], 360.0};
        }
        case HoleLayout::ten_centres: {
            // A block of ten holes copied over and over onto itself; the first
            // three step down within the row tolerance from left to right.
            static const double heights[] = {500.008, 500.004, 500.0, 520.0, 520.0,
                                             540.0,   480.0,   480.0, 480.0, 560.0};
            const int c = scrambled(k, n) % 10;
            return HolePlace{100.0 + c * 7.5, heights[c], radii[c % 7], 360.0};
        }
        case HoleLayout::row_chain: {
            const int m = scrambled(k, n);
            return HolePlace{(m * 7919LL % 100003) * 0.01, 100.0 + m * 0.005, radius, 360.0};
        }
        case HoleLayout::sweep_chain:
        case HoleLayout::rotated_lattice: {
            const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n))));
            const double u = (k % columns) * 2.54;
            const double v = (k / columns) * 2.54;
            if (layout == HoleLayout::sweep_chain) {
                return HolePlace{10.0 + u, 10.0 + v, 1.0, 185.0 + (scrambled(k, n) % 3500) * 0.05};
            }
            const double turn = 0.1 * 3.14159265358979 / 180.0;
            return HolePlace{10.0 + u * std::cos(turn) - v * std::sin(turn),
                             10.0 + u * std::sin(turn) + v * std::cos(turn), 0.5, 360.0};
        }
        case HoleLayout::scattered:
            break;  // drawn at random by generate_drawing
    }
    return HolePlace{0.0, 0.0, radius, 360.0};
}

}  // namespace

const char* hole_layout_name(HoleLayout layout) {
    // In the order of the enumeration.
    static const char* const kNames[] = {
        "scattered",  "grid_bottom_up", "row_right_to_left", "one_centre",  "tolerance_chain",
        "duplicates", "ten_centres",    "row_chain",         "sweep_chain", "rotated_lattice"};
    const auto index = static_cast<std::size_t>(layout);
    return index < std::size(kNames) ? kNames[index] : "?";
}

GeneratedDrawing generate_drawing(int entities, int holes, uint32_t seed, HoleLayout layout) {
    GeneratedDrawing drawing;
    drawing.text.reserve(static_cast<std::size_t>(entities) * 190);
    Writer w{drawing.text, {}};
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> coord(0.0, 1000.0);
    std::uniform_real_distribution<double> small(0.5, 12.0);
    std::uniform_real_distribution<double> angle(0.0, 360.0);
    std::uniform_int_distribution<int> pick(0, 99);
    const double radii[] = {1.6, 2.5, 3.3, 4.25, 5.5, 6.6, 9.0};

    int id = 1;
    auto head = [&](const char* kind, const char* tag, const char* shape, const char* style) {
        w.line("%d %X 0 %d ByL %s %s 0 %s %s ", id, 0x1A0 + id, 1 + id % 7, style, kind, tag,
               shape);
        ++id;
    };

    int placed = 0;
    while (layout != HoleLayout::scattered && placed < holes && drawing.entities < entities) {
        const HolePlace h = hole_place(layout, placed, holes);
        const bool arc = h.sweep < 360.0;
        head(arc ? "ARC" : "CIRCLE", placed % 3 == 0 ? "2_12.5" : "NO", arc ? "A" : "C", "ByL");
        w.line("%.12f %.12f %.12f %.12f %.12f %.12f %.12f %.12f %.12f\n", h.x + h.radius, h.y,
               h.x + h.radius, h.y, h.x, h.y, h.radius, 0.0, arc ? h.sweep : 360.0);
        ++placed;
        ++drawing.entities;
    }
    // Holes: plain circles, and every fifth a tapped hole (two records).
    while (placed < holes && drawing.entities < entities) {
        const double cx = coord(rng);
        const double cy = coord(rng);
        const double r = radii[placed % 7];
        head("CIRCLE", placed % 3 == 0 ? "2_12.5" : "NO", "C", placed % 4 == 0 ? "HIDDEN" : "ByL");
        w.line("%.12f %.12f %.12f %.12f %.12f %.12f %.12f %.12f %.12f\n", cx + r, cy, cx + r, cy,
               cx, cy, r, 0.0, 360.0);
        ++placed;
        ++drawing.entities;
        if (placed % 5 == 0 && placed < holes && drawing.entities < entities) {
            head("ARC", "NO", "A", "ByL");
            w.line("%.12f %.12f %.12f %.12f %.12f %.12f %.12f %.12f %.12f\n", cx + r * 1.2, cy, cx,
                   cy - r * 1.2, cx, cy, r * 1.2, 0.0, 270.0);
            ++placed;
            ++drawing.entities;
        }
    }
    drawing.holes = placed;

    while (drawing.entities < entities) {
        const int p = pick(rng);
        const double x1 = coord(rng);
        const double y1 = coord(rng);
        const double x2 = coord(rng);
        const double y2 = coord(rng);
        if (p < 35) {
            head("LINE", "NO", "L", "ByL");
            w.line("%.12f %.12f %.12f %.12f\n", x1, y1, x2, y2);
        } else if (p < 50) {
            head("PLINE", "NO", "L", "ByL");
            w.line("%.12f %.12f %.12f %.12f %.12f %.12f\n", x1, y1, x2, y2, 0.0, 0.0);
        } else if (p < 55) {
            const double r = small(rng);
            head("PLINE", "NO", "A", "ByL");
            w.line("%.12f %.12f %.12f %.12f %.12f %.12f %.12f %.12f %.12f %.12f %.12f\n", x1, y1,
                   x1 - r, y1 + r, 0.0, 0.0, x1 - r, y1, r, 0.0, 90.0);
        } else if (p < 65) {
            // Arcs below 180 degrees: drawn outlines, never holes.
            const double r = small(rng);
            const double start = angle(rng);
            head("ARC", "NO", "A", "ByL");
            w.line("%.12f %.12f %.12f %.12f %.12f %.12f %.12f %.12f %.12f\n", x1, y1, x2, y2, x1,
                   y1, r, start, start + 90.0 > 360.0 ? start - 270.0 : start + 90.0);
        } else if (p < 77) {
            head(p < 74 ? "TEXT" : "MTEXT", "NO", "T", "ByL");
            w.line("%.12f %.12f %.12f %.12f BL Note_%d\n", x1, y1, 3.5, 0.0, id);
        } else if (p < 90) {
            head("DIMENSION", "NO", "L", "ByL");
            w.line(
                "1 ISO-25 %.12f %.12f %.12f %.12f %.12f %.12f %.12f %.12f %.12f %.12f %.12f "
                "%.12f %.12f %.12f %.12f %s\n",
                x1, y1, x2, y2, x1, y1 + 10.0, x2, y2 + 10.0, 0.0, 0.0, 2.5, 0.0, (x1 + x2) / 2.0,
                y1 + 12.0, 0.0, "<>");
        } else if (p < 93) {
            head("POINT", "NO", "L", "ByL");
            w.line("%.12f %.12f 0 %.12f\n", x1, y1, 0.0);
        } else {
            head("SOLID", "NO", "L", "ByL");
            w.line("%.12f %.12f %.12f %.12f %.12f %.12f %.12f %.12f\n", x1, y1, x1 + 2.0, y1, x1,
                   y1 + 2.0, x1 + 2.0, y1 + 2.0);
        }
        ++drawing.entities;
    }
    return drawing;
}
