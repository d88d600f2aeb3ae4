#include "bench/stdio_reference.hpp"

#include <cstdio>
#include <cstring>

#include "geometry/geometry.hpp"

namespace {

bool is(const char* a, const char* b) {
    return std::strcmp(a, b) == 0;
}

void line_params(EntityRecord& r) {
    const LineParams p = compute_line_params(r.p1.x, r.p1.y, r.p2.x, r.p2.y);
    r.angle = p.angle;
    r.slope = p.slope;
    r.intercept = p.intercept;
}

}  // namespace

bool read_entity_file_stdio(const char* path, EntityList& list, int& count) {
    count = 0;
    std::FILE* f = std::fopen(path, "r");
    if (f == nullptr) {
        return false;
    }
    char chunk[512];
    int lines = 0;
    while (std::fgets(chunk, sizeof chunk, f) != nullptr) {
        ++lines;
    }
    std::fclose(f);
    list = entity_list_create(lines + 10);
    f = std::fopen(path, "r");
    for (int i = 0; i < lines; ++i) {
        EntityRecord& r = list[static_cast<std::size_t>(i)];
        (void)!std::fscanf(f, "%d %19s %51s %d %19s ", &r.id, r.handle, r.layer, &r.color,
                           r.line_type);
        (void)!std::fscanf(f, "%19s %15s %lf %49s %4s ", r.line_style, r.kind, &r.weight, r.tag,
                           r.shape);
        if (is(r.kind, "MTEXT") || is(r.kind, "TEXT")) {
            (void)!std::fscanf(f, "%lf %lf ", &r.p1.x, &r.p1.y);
            (void)!std::fscanf(f, "%lf %lf %19s %260s ", &r.text_height, &r.angle, r.justify,
                               r.text);
        } else if (is(r.kind, "LINE")) {
            (void)!std::fscanf(f, "%lf %lf ", &r.p1.x, &r.p1.y);
            (void)!std::fscanf(f, "%lf %lf ", &r.p2.x, &r.p2.y);
            line_params(r);
        } else if (is(r.kind, "ARC") || is(r.kind, "CIRCLE")) {
            (void)!std::fscanf(f, "%lf %lf ", &r.p1.x, &r.p1.y);
            (void)!std::fscanf(f, "%lf %lf ", &r.p2.x, &r.p2.y);
            (void)!std::fscanf(f, "%lf %lf ", &r.center.x, &r.center.y);
            (void)!std::fscanf(f, "%lf %lf %lf ", &r.radius, &r.start_angle, &r.end_angle);
            if (compare_reals_tol(r.start_angle, 360.0) == 0) {
                r.start_angle = 0.0;
            }
            r.sweep = compute_sweep(r.start_angle, r.end_angle);
            line_params(r);
            if (r.sweep < 1e-7) {
                r.sweep = 360.0;
            }
        } else if (is(r.kind, "POINT")) {
            (void)!std::fscanf(f, "%lf %lf ", &r.p1.x, &r.p1.y);
            (void)!std::fscanf(f, "%d %lf ", &r.point_mode, &r.point_size);
        } else if (is(r.kind, "PLINE")) {
            (void)!std::fscanf(f, "%lf %lf ", &r.p1.x, &r.p1.y);
            if (is(r.shape, "L")) {
                (void)!std::fscanf(f, "%lf %lf ", &r.p2.x, &r.p2.y);
                (void)!std::fscanf(f, "%lf %lf ", &r.seg_a, &r.seg_b);
                line_params(r);
            } else if (is(r.shape, "A") || is(r.shape, "C")) {
                (void)!std::fscanf(f, "%lf %lf ", &r.p2.x, &r.p2.y);
                (void)!std::fscanf(f, "%lf %lf ", &r.seg_a, &r.seg_b);
                (void)!std::fscanf(f, "%lf %lf ", &r.center.x, &r.center.y);
                (void)!std::fscanf(f, "%lf %lf %lf ", &r.radius, &r.start_angle, &r.end_angle);
                if (compare_reals_tol(r.start_angle, 360.0) == 0) {
                    r.start_angle = 0.0;
                }
                line_params(r);
                r.sweep = compute_sweep(r.start_angle, r.end_angle);
            }
        } else if (is(r.kind, "DIMENSION")) {
            (void)!std::fscanf(f, "%d %51s ", &r.dim_type, r.dim_style);
            (void)!std::fscanf(f, "%lf %lf ", &r.p1.x, &r.p1.y);
            (void)!std::fscanf(f, "%lf %lf ", &r.p2.x, &r.p2.y);
            (void)!std::fscanf(f, "%lf %lf ", &r.p4.x, &r.p4.y);
            (void)!std::fscanf(f, "%lf %lf ", &r.p5.x, &r.p5.y);
            (void)!std::fscanf(f, "%lf %lf %lf %lf ", &r.dim_box[0], &r.dim_box[1], &r.dim_box[2],
                               &r.dim_box[3]);
            (void)!std::fscanf(f, "%lf %lf ", &r.p6.x, &r.p6.y);
            (void)!std::fscanf(f, "%lf %260s", &r.angle, r.text);
        } else if (is(r.kind, "SOLID")) {
            (void)!std::fscanf(f, "%lf %lf ", &r.p1.x, &r.p1.y);
            (void)!std::fscanf(f, "%lf %lf ", &r.p2.x, &r.p2.y);
            (void)!std::fscanf(f, "%lf %lf ", &r.center.x, &r.center.y);
            (void)!std::fscanf(f, "%lf %lf ", &r.p4.x, &r.p4.y);
        }
        r.mark = r.mark2 = r.mark4 = 0;
    }
    std::fclose(f);
    count = lines;
    return true;
}

bool write_entity_file_stdio(EntityList& list, int count, const char* path) {
    std::FILE* f = std::fopen(path, "w");
    if (f == nullptr) {
        return false;
    }
    for (int i = 0; i < count; ++i) {
        EntityRecord& r = list[static_cast<std::size_t>(i)];
        if (r.color == 0) {
            r.color = 1;
        }
        std::fprintf(f, "%d %s %s ", r.id, r.handle, r.layer);
        std::fprintf(f, "%d %s %s ", r.color, r.line_type, r.line_style);
        double x1 = r.p1.x, y1 = r.p1.y, x2 = r.p2.x, y2 = r.p2.y;
        const bool arc = is(r.kind, "ARC") || is(r.kind, "CIRCLE");
        if (arc) {
            const PointPair e =
                compute_arc_end_points(r.center.x, r.center.y, r.radius, r.start_angle, r.sweep);
            x1 = e.sx, y1 = e.sy, x2 = e.ex, y2 = e.ey;
            std::fprintf(f, r.sweep > 359.999999 ? "CIRCLE " : "ARC ");
        } else {
            std::fprintf(f, "%s ", r.kind);
        }
        std::fprintf(f, "%.lf %s ", r.weight, r.tag);
        if (is(r.shape, "A") || is(r.shape, "C")) {
            std::fprintf(f, r.sweep > 359.999999 ? "C " : "A ");
        } else {
            std::fprintf(f, "%s ", r.shape);
        }
        if (is(r.kind, "MTEXT") || is(r.kind, "TEXT")) {
            std::fprintf(f, "%.12f %.12f %.12f %.12f %s %s\n", r.p1.x, r.p1.y, r.text_height,
                         r.angle, r.justify, r.text);
        } else if (is(r.kind, "LINE")) {
            std::fprintf(f, "%.12f %.12f %.12f %.12f\n", x1, y1, x2, y2);
        } else if (arc) {
            r.end_angle = r.start_angle + r.sweep;
            if (r.end_angle > 360.0) {
                r.end_angle -= 360.0;
            }
            std::fprintf(f, "%.12f %.12f %.12f %.12f ", x1, y1, x2, y2);
            std::fprintf(f, "%.12f %.12f %.12f %.12f %.12f\n", r.center.x, r.center.y, r.radius,
                         r.start_angle, r.end_angle);
        } else if (is(r.kind, "POINT")) {
            std::fprintf(f, "%.12f %.12f ", r.p1.x, r.p1.y);
            std::fprintf(f, "%d %.12f\n", r.point_mode, r.point_size);
        } else if (is(r.kind, "PLINE")) {
            std::fprintf(f, "%.12f %.12f ", r.p1.x, r.p1.y);
            if (is(r.shape, "L")) {
                std::fprintf(f, "%.12f %.12f ", r.p2.x, r.p2.y);
                std::fprintf(f, "%.12f %.12f\n", r.seg_a, r.seg_b);
            } else {
                r.end_angle = r.start_angle + r.sweep;
                if (r.end_angle > 360.0) {
                    r.end_angle -= 360.0;
                }
                std::fprintf(f, "%.12f %.12f ", r.p2.x, r.p2.y);
                std::fprintf(f, "%.12f %.12f ", r.seg_a, r.seg_b);
                std::fprintf(f, "%.12f %.12f ", r.center.x, r.center.y);
                std::fprintf(f, "%.12f %.12f %.12f\n", r.radius, r.start_angle, r.end_angle);
            }
        } else if (is(r.kind, "DIMENSION")) {
            std::fprintf(f, "%d %s ", r.dim_type, r.dim_style);
            std::fprintf(f, "%.12f %.12f ", r.p1.x, r.p1.y);
            std::fprintf(f, "%.12f %.12f ", r.p2.x, r.p2.y);
            std::fprintf(f, "%.12f %.12f ", r.p4.x, r.p4.y);
            std::fprintf(f, "%.12f %.12f ", r.p5.x, r.p5.y);
            std::fprintf(f, "%.12f %.12f %.12f %.12f ", r.dim_box[0], r.dim_box[1], r.dim_box[2],
                         r.dim_box[3]);
            std::fprintf(f, "%.12f %.12f ", r.p6.x, r.p6.y);
            std::fprintf(f, "%.12f %s\n", r.angle, r.text);
        } else if (is(r.kind, "SOLID")) {
            std::fprintf(f, "%.12f %.12f %.12f %.12f ", r.p1.x, r.p1.y, r.p2.x, r.p2.y);
            std::fprintf(f, "%.12f %.12f %.12f %.12f\n", r.center.x, r.center.y, r.p4.x, r.p4.y);
        } else {
            std::fprintf(f, "\n");
        }
    }
    return std::fclose(f) == 0;
}
