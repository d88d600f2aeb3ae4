// The layout of an exchange record, written once: the head's ten fields and
// each entity kind's body, field by field in file order, each field with its
// conversion. The reader, the skipper and the writer all walk these lists,
// so a field or a kind is added in one line. Private to entity/.
//
// Each list is a type, so each walk is unrolled by the compiler into the
// same straight calls a hand-written reader would make.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>

#include "entity/entity_record.hpp"
#include "entity/token_stream.hpp"
#include "geometry/geometry.hpp"
#include "util/number_text.hpp"

namespace record_layout {

// Above this sweep an arc is written as a full circle.
constexpr double kFullCircleSweep = 359.999999;

// --- Conversions, chosen by the field's type --------------------------------
// A number or a text is one token, a point two (x, then y), an array of reals
// one per element. Reals are written with twelve decimals, and every token is
// followed by a blank (the line's last blank becomes its line end).

inline void read_value(TokenStream& s, double& value) {
    read_real_field(s, value);
}
inline void read_value(TokenStream& s, int32_t& value) {
    read_int_field(s, value);
}
template <std::size_t N>
void read_value(TokenStream& s, char (&text)[N]) {
    read_text_field(s, text, N);
}
inline void read_value(TokenStream& s, Point& p) {
    read_real_field(s, p.x);
    read_real_field(s, p.y);
}
template <std::size_t N>
void read_value(TokenStream& s, double (&values)[N]) {
    for (double& value : values) {
        read_real_field(s, value);
    }
}

inline void write_text(std::string& out, const char* text) {
    out.append(text);
    out.push_back(' ');
}
inline void write_value(std::string& out, double value) {
    append_fixed(out, value, 12);
    out.push_back(' ');
}
inline void write_value(std::string& out, int32_t value) {
    append_int(out, value);
    out.push_back(' ');
}
template <std::size_t N>
void write_value(std::string& out, const char (&text)[N]) {
    write_text(out, text);
}
inline void write_value(std::string& out, Point p) {
    write_value(out, p.x);
    write_value(out, p.y);
}
template <std::size_t N>
void write_value(std::string& out, const double (&values)[N]) {
    for (double value : values) {
        write_value(out, value);
    }
}

template <typename T>
inline constexpr std::size_t kTokensOf = 1;
template <>
inline constexpr std::size_t kTokensOf<Point> = 2;
template <std::size_t N>
inline constexpr std::size_t kTokensOf<double[N]> = N;

// --- Fields -----------------------------------------------------------------

// A record field, read and written as it stands.
template <auto Member>
struct Field {
    using Value = std::remove_reference_t<decltype(std::declval<EntityRecord&>().*Member)>;
    static constexpr std::size_t tokens = kTokensOf<Value>;
    static void read(TokenStream& s, EntityRecord& r) { read_value(s, r.*Member); }
    static void write(const EntityRecord& r, std::string& out) { write_value(out, r.*Member); }
};

inline bool is_arc_kind(const EntityRecord& r) {
    return has_kind(r, "ARC") || has_kind(r, "CIRCLE");
}

// The weight: a real written without decimals.
struct Weight : Field<&EntityRecord::weight> {
    static void write(const EntityRecord& r, std::string& out) {
        append_fixed(out, r.weight, 0);
        out.push_back(' ');
    }
};

// The kind: an arc or circle is written as what its sweep makes it.
struct KindName : Field<&EntityRecord::kind> {
    static void write(const EntityRecord& r, std::string& out) {
        if (is_arc_kind(r)) {
            write_text(out, r.sweep > kFullCircleSweep ? "CIRCLE" : "ARC");
        } else {
            write_text(out, r.kind);
        }
    }
};

// The shape code: "A" and "C" are written as what the sweep makes them.
struct ShapeCode : Field<&EntityRecord::shape> {
    static void write(const EntityRecord& r, std::string& out) {
        if (has_shape(r, "A") || has_shape(r, "C")) {
            write_text(out, r.sweep > kFullCircleSweep ? "C" : "A");
        } else {
            write_text(out, r.shape);
        }
    }
};

// An arc's start and end points: read into p1 and p2 as stored, written as
// they lie on the arc that centre, radius, start angle and sweep describe.
struct ArcEnds {
    static constexpr std::size_t tokens = 4;
    static void read(TokenStream& s, EntityRecord& r) {
        read_value(s, r.p1);
        read_value(s, r.p2);
    }
    static void write(const EntityRecord& r, std::string& out) {
        const PointPair ends =
            compute_arc_end_points(r.center.x, r.center.y, r.radius, r.start_angle, r.sweep);
        write_value(out, Point{ends.sx, ends.sy});
        write_value(out, Point{ends.ex, ends.ey});
    }
};

// --- Derived values ---------------------------------------------------------
// What a body computes after it is read (sweeps and line parameters are not
// in the file), and what the writer changes in the record before writing it.

struct Stored {
    static void after_read(EntityRecord&) {}
    static void before_write(EntityRecord&) {}
};

inline void derive_line_params(EntityRecord& r) {
    const LineParams params = compute_line_params(r.p1.x, r.p1.y, r.p2.x, r.p2.y);
    r.angle = params.angle;
    r.slope = params.slope;
    r.intercept = params.intercept;
}

inline void wrap_start_angle(EntityRecord& r) {
    if (compare_reals_tol(r.start_angle, 360.0) == 0) {
        r.start_angle = 0.0;
    }
}

// The stored end angle is start plus sweep, wrapped above 360 (360 stays).
inline void recompute_end_angle(EntityRecord& r) {
    r.end_angle = r.start_angle + r.sweep;
    if (r.end_angle > 360.0) {
        r.end_angle = r.end_angle - 360.0;
    }
}

struct LineValues : Stored {
    static void after_read(EntityRecord& r) { derive_line_params(r); }
};

// The sweep below which a read arc or circle counts as a full turn: a
// second floor above compute_sweep's 1e-8, kept because the drawings' arcs
// have always been read with it. A circle that the front end exports as an
// arc from one angle to almost the same one stays a circle, and a hole.
constexpr double kArcSweepFloor = 1e-7;

struct ArcValues {
    static void after_read(EntityRecord& r) {
        wrap_start_angle(r);
        r.sweep = compute_sweep(r.start_angle, r.end_angle);
        derive_line_params(r);
        if (r.sweep < kArcSweepFloor) {
            r.sweep = 360.0;
        }
    }
    static void before_write(EntityRecord& r) { recompute_end_angle(r); }
};

// An arc segment keeps a sweep between 1e-8 and 1e-7: unlike a plain arc it
// gets no second floor.
struct SegmentArcValues {
    static void after_read(EntityRecord& r) {
        wrap_start_angle(r);
        derive_line_params(r);
        r.sweep = compute_sweep(r.start_angle, r.end_angle);
    }
    static void before_write(EntityRecord& r) { recompute_end_angle(r); }
};

// --- Lists ------------------------------------------------------------------

// Fields in file order, with the values derived from them. Written is the
// layout the writer uses for the kind: the same one, save for the segment
// of an unknown shape below.
template <typename Values, typename... Fields>
struct Layout {
    using Written = Layout;
    static constexpr std::size_t tokens = (std::size_t{0} + ... + Fields::tokens);
    static void read(TokenStream& s, EntityRecord& r) {
        (Fields::read(s, r), ...);
        Values::after_read(r);
    }
    static void write(EntityRecord& r, std::string& out) {
        Values::before_write(r);
        (Fields::write(r, out), ...);
    }
};

using R = EntityRecord;
template <auto Member>
using F = Field<Member>;

using Head = Layout<Stored, F<&R::id>, F<&R::handle>, F<&R::layer>, F<&R::color>, F<&R::line_type>,
                    F<&R::line_style>, KindName, Weight, F<&R::tag>, ShapeCode>;

using TextBody =
    Layout<Stored, F<&R::p1>, F<&R::text_height>, F<&R::angle>, F<&R::justify>, F<&R::text>>;
using LineBody = Layout<LineValues, F<&R::p1>, F<&R::p2>>;
using ArcBody =
    Layout<ArcValues, ArcEnds, F<&R::center>, F<&R::radius>, F<&R::start_angle>, F<&R::end_angle>>;
using PointBody = Layout<Stored, F<&R::p1>, F<&R::point_mode>, F<&R::point_size>>;
using SegmentLineBody = Layout<LineValues, F<&R::p1>, F<&R::p2>, F<&R::seg_a>, F<&R::seg_b>>;
using SegmentArcBody = Layout<SegmentArcValues, F<&R::p1>, F<&R::p2>, F<&R::seg_a>, F<&R::seg_b>,
                              F<&R::center>, F<&R::radius>, F<&R::start_angle>, F<&R::end_angle>>;
// A segment of any other shape: only its first point is read, yet it has
// always been written in the arc segment's form.
struct OtherSegmentBody : Layout<Stored, F<&R::p1>> {
    using Written = SegmentArcBody;
};
using DimensionBody =
    Layout<Stored, F<&R::dim_type>, F<&R::dim_style>, F<&R::p1>, F<&R::p2>, F<&R::p4>, F<&R::p5>,
           F<&R::dim_box>, F<&R::p6>, F<&R::angle>, F<&R::text>>;
using SolidBody = Layout<Stored, F<&R::p1>, F<&R::p2>, F<&R::center>, F<&R::p4>>;
// A kind the format does not know: the record ends after its head.
using NoBody = Layout<Stored>;

// Calls visit with the body layout of the record's kind (and, for a
// polyline segment, its shape), testing the kinds in this order.
template <typename Visit>
auto visit_body(const EntityRecord& head, Visit&& visit) {
    if (has_kind(head, "MTEXT") || has_kind(head, "TEXT")) {
        return visit(TextBody{});
    }
    if (has_kind(head, "LINE")) {
        return visit(LineBody{});
    }
    if (is_arc_kind(head)) {
        return visit(ArcBody{});
    }
    if (has_kind(head, "POINT")) {
        return visit(PointBody{});
    }
    if (has_kind(head, "PLINE")) {
        if (has_shape(head, "L")) {
            return visit(SegmentLineBody{});
        }
        if (has_shape(head, "C") || has_shape(head, "A")) {
            return visit(SegmentArcBody{});
        }
        return visit(OtherSegmentBody{});
    }
    if (has_kind(head, "DIMENSION")) {
        return visit(DimensionBody{});
    }
    if (has_kind(head, "SOLID")) {
        return visit(SolidBody{});
    }
    return visit(NoBody{});
}

}  // namespace record_layout
