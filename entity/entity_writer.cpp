#include <cstdio>
#include <cstring>
#include <system_error>

#include "entity/entity_file.hpp"
#include "geometry/geometry.hpp"
#include "util/fixed_text.hpp"
#include "util/number_text.hpp"
#include "util/safe_file.hpp"

namespace {

// Above this sweep an arc is written as a full circle.
constexpr double kFullCircleSweep = 359.999999;

// Output goes to the file in blocks of about this size.
constexpr std::size_t kFlushSize = 1 << 20;

void put_real(std::string& out, double value) {
    append_fixed(out, value, 12);
    out.push_back(' ');
}

void put_point(std::string& out, Point p) {
    put_real(out, p.x);
    put_real(out, p.y);
}

void put_text(std::string& out, const char* text) {
    out.append(text);
    out.push_back(' ');
}

void put_int(std::string& out, int32_t value) {
    append_int(out, value);
    out.push_back(' ');
}

// The last token of a line is followed by the line end instead of a blank.
void end_line(std::string& out) {
    out.back() = '\n';
}

void recompute_end_angle(EntityRecord& r) {
    r.end_angle = r.start_angle + r.sweep;
    if (r.end_angle > 360.0) {
        r.end_angle = r.end_angle - 360.0;
    }
}

}  // namespace

void format_entity_record(EntityRecord& r, std::string& out) {
    if (r.color == 0) {
        r.color = 1;
    }
    put_int(out, r.id);
    put_text(out, r.handle);
    put_text(out, r.layer);
    put_int(out, r.color);
    put_text(out, r.line_type);
    put_text(out, r.line_style);

    const bool arc_kind = has_kind(r, "ARC") || has_kind(r, "CIRCLE");
    Point first = r.p1;
    Point second = r.p2;
    if (arc_kind) {
        const PointPair ends =
            compute_arc_end_points(r.center.x, r.center.y, r.radius, r.start_angle, r.sweep);
        first = Point{ends.sx, ends.sy};
        second = Point{ends.ex, ends.ey};
        put_text(out, r.sweep > kFullCircleSweep ? "CIRCLE" : "ARC");
    } else {
        put_text(out, r.kind);
    }

    append_fixed(out, r.weight, 0);
    out.push_back(' ');
    put_text(out, r.tag);
    if (has_shape(r, "A") || has_shape(r, "C")) {
        put_text(out, r.sweep > kFullCircleSweep ? "C" : "A");
    } else {
        put_text(out, r.shape);
    }

    if (has_kind(r, "MTEXT") || has_kind(r, "TEXT")) {
        put_point(out, r.p1);
        put_real(out, r.text_height);
        put_real(out, r.angle);
        put_text(out, r.justify);
        put_text(out, r.text);
    } else if (has_kind(r, "LINE")) {
        put_point(out, first);
        put_point(out, second);
    } else if (arc_kind) {
        recompute_end_angle(r);
        put_point(out, first);
        put_point(out, second);
        put_point(out, r.center);
        put_real(out, r.radius);
        put_real(out, r.start_angle);
        put_real(out, r.end_angle);
    } else if (has_kind(r, "POINT")) {
        put_point(out, r.p1);
        put_int(out, r.point_mode);
        put_real(out, r.point_size);
    } else if (has_kind(r, "PLINE")) {
        put_point(out, r.p1);
        put_point(out, r.p2);
        if (has_shape(r, "L")) {
            put_real(out, r.seg_a);
            put_real(out, r.seg_b);
        } else {
            recompute_end_angle(r);
            put_real(out, r.seg_a);
            put_real(out, r.seg_b);
            put_point(out, r.center);
            put_real(out, r.radius);
            put_real(out, r.start_angle);
            put_real(out, r.end_angle);
        }
    } else if (has_kind(r, "DIMENSION")) {
        put_int(out, r.dim_type);
        put_text(out, r.dim_style);
        put_point(out, r.p1);
        put_point(out, r.p2);
        put_point(out, r.p4);
        put_point(out, r.p5);
        for (double value : r.dim_box) {
            put_real(out, value);
        }
        put_point(out, r.p6);
        put_real(out, r.angle);
        put_text(out, r.text);
    } else if (has_kind(r, "SOLID")) {
        put_point(out, r.p1);
        put_point(out, r.p2);
        put_point(out, r.center);
        put_point(out, r.p4);
    }
    // A record of an unknown kind ends after its head, on a line of its own.
    end_line(out);
}

namespace {

int records_to_write(const EntityList& list, int count) {
    return count < static_cast<int>(list.size()) ? count : static_cast<int>(list.size());
}

}  // namespace

std::string format_entity_records(EntityList& list, int count) {
    std::string out;
    const int last = records_to_write(list, count);
    out.reserve(static_cast<std::size_t>(last) * 160);
    for (int i = 0; i < last; ++i) {
        format_entity_record(list[static_cast<std::size_t>(i)], out);
    }
    return out;
}

namespace {

bool flush_block(std::FILE* file, std::string& block) {
    const bool ok = std::fwrite(block.data(), 1, block.size(), file) == block.size();
    block.clear();
    return ok;
}

}  // namespace

bool write_entity_file(EntityList& list, int count, const char* path) {
    if (is_read_only_file(path)) {
        return false;
    }
    const int last = records_to_write(list, count);
    const auto write_records = [&list, last](std::FILE* file) {
        std::string block;
        block.reserve(kFlushSize + 4096);
        for (int i = 0; i < last; ++i) {
            format_entity_record(list[static_cast<std::size_t>(i)], block);
            if (block.size() >= kFlushSize && !flush_block(file, block)) {
                return false;
            }
        }
        return flush_block(file, block);
    };
    // Text mode, so that line ends are what the platform's front end expects.
    std::error_code error;
    return replace_file_atomically(path, true, write_records, error);
}

void override_layer(EntityList& list, int n, const char* layer_name, int32_t color) {
    for (int i = 0; i < n; ++i) {
        EntityRecord& r = list[static_cast<std::size_t>(i)];
        copy_text(r.layer, layer_name);
        r.color = color;
    }
}
