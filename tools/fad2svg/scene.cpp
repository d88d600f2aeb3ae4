#include "tools/fad2svg/scene.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>
#include <unordered_map>

#include "geometry/geometry.hpp"
#include "tools/fad2svg/svg_text.hpp"

namespace fad2svg {

namespace {

// Coordinates beyond this are taken for garbage: they would shrink the rest
// of the drawing to nothing and overflow the size of the view.
constexpr double kLargestCoordinate = 1e15;

// Estimated advance of one character, in text heights, for the view box.
constexpr double kCharAdvance = 0.85;

bool usable(double v) {
    return std::isfinite(v) && std::fabs(v) <= kLargestCoordinate;
}
bool usable(Point p) {
    return usable(p.x) && usable(p.y);
}

bool same_point(Point p, Point q) {
    return p.x == q.x && p.y == q.y;
}

Point polar(Point centre, double radius, double degrees) {
    const double r = degrees * kDegreesToRadians;
    return {centre.x + radius * std::cos(r), centre.y + radius * std::sin(r)};
}

void add_arc_bounds(Bounds& bounds, const Shape& arc) {
    if (arc.sweep >= 360.0) {
        bounds.add({arc.a.x - arc.radius, arc.a.y - arc.radius});
        bounds.add({arc.a.x + arc.radius, arc.a.y + arc.radius});
        return;
    }
    bounds.add(polar(arc.a, arc.radius, arc.start));
    bounds.add(polar(arc.a, arc.radius, arc.start + arc.sweep));
    // The extreme points on the axes that the arc passes.
    const double first = std::ceil(arc.start / 90.0) * 90.0;
    for (double q = first; q < arc.start + arc.sweep; q += 90.0) {
        bounds.add(polar(arc.a, arc.radius, q));
    }
}

void add_label_bounds(Bounds& bounds, const Shape& label) {
    bounds.add(label.a);
    if (label.height <= 0.0) {
        return;
    }
    const double h = label.height;
    std::size_t longest = 0;
    std::size_t lines = 0;
    std::size_t from = 0;
    for (;;) {
        const std::size_t end = label.text.find('\n', from);
        const std::string_view line =
            std::string_view(label.text).substr(from, end == std::string::npos ? end : end - from);
        longest = std::max(longest, count_code_points(line));
        ++lines;
        if (end == std::string::npos) {
            break;
        }
        from = end + 1;
    }
    const double width = static_cast<double>(longest) * kCharAdvance * h * label.width_factor;
    const double block = static_cast<double>(lines - 1) * kLineSpacing * h;
    const double left = label.anchor == TextAnchor::start    ? 0.0
                        : label.anchor == TextAnchor::middle ? -width / 2.0
                                                             : -width;
    // The first line's baseline; the others follow below it.
    const double base = first_baseline(label.baseline, h, lines) * -1.0;
    const double c = std::cos(label.angle * kDegreesToRadians);
    const double s = std::sin(label.angle * kDegreesToRadians);
    const double xs[2] = {left, left + width};
    const double ys[2] = {base - block - 0.3 * h, base + h};
    for (double x : xs) {
        for (double y : ys) {
            bounds.add({label.a.x + x * c - y * s, label.a.y + x * s + y * c});
        }
    }
}

void add_bounds(Bounds& bounds, const Shape& shape) {
    switch (shape.kind) {
        case ShapeKind::segment:
            bounds.add(shape.a);
            bounds.add(shape.b);
            break;
        case ShapeKind::arc:
            add_arc_bounds(bounds, shape);
            break;
        case ShapeKind::quad:
            bounds.add(shape.a);
            bounds.add(shape.b);
            bounds.add(shape.c);
            bounds.add(shape.d);
            break;
        case ShapeKind::dot:
            bounds.add(shape.a);
            break;
        case ShapeKind::label:
            add_label_bounds(bounds, shape);
            break;
    }
}

Shape segment(Point a, Point b) {
    Shape s;
    s.kind = ShapeKind::segment;
    s.a = a;
    s.b = b;
    return s;
}

// Fills arc from a record's centre, radius, start angle and derived sweep.
bool make_arc(const EntityRecord& r, Shape& arc) {
    if (!usable(r.center) || !usable(r.radius) || !std::isfinite(r.start_angle) ||
        !std::isfinite(r.sweep)) {
        return false;
    }
    arc.kind = ShapeKind::arc;
    arc.a = r.center;
    arc.radius = std::fabs(r.radius);
    arc.start = std::fmod(r.start_angle, 360.0);
    if (arc.start < 0.0) {
        arc.start += 360.0;
    }
    arc.sweep =
        std::fabs(r.sweep) >= kArcWrapThreshold ? 360.0 : std::fmod(std::fabs(r.sweep), 360.0);
    return true;
}

// A multi-line text's paragraphs, "\\P" in the text, as lines.
std::string paragraphs_of(const char* text) {
    std::string out;
    const std::string_view all(text);
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = all.find("\\P", from);
        out += clean_utf8(
            expand_cad_codes(all.substr(from, at == std::string_view::npos ? at : at - from)));
        if (at == std::string_view::npos) {
            return out;
        }
        out += '\n';
        from = at + 2;
    }
}

bool make_label(const EntityRecord& r, Shape& label) {
    if (!usable(r.p1) || !std::isfinite(r.angle) || !std::isfinite(r.text_height) ||
        !std::isfinite(r.width_factor)) {
        return false;
    }
    label.kind = ShapeKind::label;
    label.a = r.p1;
    label.height = r.text_height > 0.0 && r.text_height <= kLargestCoordinate ? r.text_height : 0.0;
    label.angle = std::fmod(r.angle, 360.0);
    label.width_factor = r.width_factor > 0.0 && r.width_factor <= 10.0 ? r.width_factor : 1.0;
    anchor_for_justify(r.justify, label.anchor, label.baseline);
    label.text =
        has_kind(r, "MTEXT") ? paragraphs_of(r.text) : clean_utf8(expand_cad_codes(r.text));
    return true;
}

LinePattern pattern_of(const EntityRecord& r) {
    const LinePattern own = pattern_for_line_type(r.line_type);
    return own != LinePattern::solid ? own : pattern_for_line_type(r.line_style);
}

enum class Outcome { drawn, nothing, skipped };

Outcome line_shapes(const EntityRecord& r, std::vector<Shape>& out) {
    if (!usable(r.p1) || !usable(r.p2)) {
        return Outcome::skipped;
    }
    if (same_point(r.p1, r.p2)) {
        return Outcome::nothing;
    }
    out.push_back(segment(r.p1, r.p2));
    out.back().pattern = pattern_of(r);
    return Outcome::drawn;
}

Outcome arc_shapes(const EntityRecord& r, std::vector<Shape>& out) {
    Shape arc;
    if (!make_arc(r, arc)) {
        return Outcome::skipped;
    }
    if (arc.radius == 0.0) {
        return Outcome::nothing;
    }
    arc.pattern = pattern_of(r);
    out.push_back(arc);
    return Outcome::drawn;
}

Outcome label_shapes(const EntityRecord& r, std::vector<Shape>& out) {
    Shape label;
    if (!make_label(r, label)) {
        return Outcome::skipped;
    }
    if (label.text.empty()) {
        return Outcome::nothing;
    }
    out.push_back(std::move(label));
    return Outcome::drawn;
}

Outcome dot_shapes(const EntityRecord& r, std::vector<Shape>& out) {
    if (!usable(r.p1)) {
        return Outcome::skipped;
    }
    Shape dot;
    dot.kind = ShapeKind::dot;
    dot.a = r.p1;
    out.push_back(dot);
    return Outcome::drawn;
}

Outcome quad_shapes(const EntityRecord& r, std::vector<Shape>& out) {
    if (!usable(r.p1) || !usable(r.p2) || !usable(r.center) || !usable(r.p4)) {
        return Outcome::skipped;
    }
    // Corners 1, 2, 3, 4 are p1, p2, center, p4; the outline runs 1, 2, 4, 3.
    Shape quad;
    quad.kind = ShapeKind::quad;
    quad.a = r.p1;
    quad.b = r.p2;
    quad.c = r.p4;
    quad.d = r.center;
    out.push_back(quad);
    return Outcome::drawn;
}

Outcome dimension_shapes(const EntityRecord& r, std::vector<Shape>& out) {
    if (!usable(r.p1) || !usable(r.p2) || !usable(r.p4) || !usable(r.p5) || !usable(r.p6) ||
        !std::isfinite(r.angle)) {
        return Outcome::skipped;
    }
    // Extension lines from the feet to the dimension line, the dimension
    // line itself, and the text centred at its point.
    const Point lines[3][2] = {{r.p1, r.p4}, {r.p2, r.p5}, {r.p4, r.p5}};
    for (const auto& line : lines) {
        if (!same_point(line[0], line[1])) {
            out.push_back(segment(line[0], line[1]));
        }
    }
    Shape label;
    label.kind = ShapeKind::label;
    label.a = r.p6;
    label.angle = std::fmod(r.angle, 360.0);
    label.anchor = TextAnchor::middle;
    label.baseline = TextBaseline::middle;
    label.text = clean_utf8(
        expand_cad_codes(dimension_text(r.text, compute_distance(r.p4.x, r.p4.y, r.p5.x, r.p5.y))));
    out.push_back(std::move(label));
    return Outcome::drawn;
}

// The shapes of one record; "nothing" for records that draw nothing by their
// nature (an empty text, a line of no length such as a blank line leaves).
Outcome shapes_of(const EntityRecord& r, std::vector<Shape>& out) {
    const bool pline = has_kind(r, "PLINE");
    if (has_kind(r, "LINE") || (pline && has_shape(r, "L"))) {
        return line_shapes(r, out);
    }
    if (has_kind(r, "ARC") || has_kind(r, "CIRCLE") ||
        (pline && (has_shape(r, "A") || has_shape(r, "C")))) {
        return arc_shapes(r, out);
    }
    if (has_kind(r, "TEXT") || has_kind(r, "MTEXT")) {
        return label_shapes(r, out);
    }
    if (has_kind(r, "POINT")) {
        return dot_shapes(r, out);
    }
    if (has_kind(r, "SOLID")) {
        return quad_shapes(r, out);
    }
    return has_kind(r, "DIMENSION") ? dimension_shapes(r, out) : Outcome::skipped;
}

}  // namespace

void Bounds::add(Point p) {
    if (empty) {
        min_x = max_x = p.x;
        min_y = max_y = p.y;
        empty = false;
        return;
    }
    min_x = std::fmin(min_x, p.x);
    max_x = std::fmax(max_x, p.x);
    min_y = std::fmin(min_y, p.y);
    max_y = std::fmax(max_y, p.y);
}

void anchor_for_justify(const char* justify, TextAnchor& anchor, TextBaseline& baseline) {
    // The vertical letter of a two-letter code (B, M, T), then the
    // horizontal one (L, C, R); a one-letter code is horizontal, but M
    // centres both ways.
    const auto anchor_of = [](char c) {
        return c == 'C' ? TextAnchor::middle : c == 'R' ? TextAnchor::end : TextAnchor::start;
    };
    const std::string_view code(justify);
    anchor = TextAnchor::start;
    baseline = TextBaseline::bottom;
    if (code.size() == 2) {
        baseline = code[0] == 'M'   ? TextBaseline::middle
                   : code[0] == 'T' ? TextBaseline::top
                                    : TextBaseline::bottom;
        anchor = anchor_of(code[1]);
    } else if (code == "M") {
        anchor = TextAnchor::middle;
        baseline = TextBaseline::middle;
    } else if (code.size() == 1) {
        anchor = anchor_of(code[0]);
    }
}

LinePattern pattern_for_line_type(const char* name) {
    std::string upper(name);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    const auto has = [&upper](const char* part) { return upper.find(part) != std::string::npos; };
    if (has("DASHDOT") || has("CENTER") || has("CENTRE")) {
        return LinePattern::dash_dot;
    }
    if (has("PHANTOM") || has("DIVIDE")) {
        return LinePattern::phantom;
    }
    if (has("HIDDEN") || has("DASH")) {
        return LinePattern::dashed;
    }
    if (has("DOT")) {
        return LinePattern::dotted;
    }
    return LinePattern::solid;
}

double first_baseline(TextBaseline baseline, double height, std::size_t lines) {
    const double block = static_cast<double>(lines - 1) * kLineSpacing * height;
    switch (baseline) {
        case TextBaseline::top:
            return height;
        case TextBaseline::middle:
            return height / 2.0 - block / 2.0;
        case TextBaseline::bottom:
            break;
    }
    return -block;
}

std::string dimension_text(const char* text, double length) {
    std::string measured;
    append_number(measured, length, 2);
    const std::string_view own(text);
    if (own.empty()) {
        return measured;
    }
    std::string out;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = own.find("<>", from);
        if (at == std::string_view::npos) {
            out.append(own.substr(from));
            return out;
        }
        out.append(own.substr(from, at - from));
        out += measured;
        from = at + 2;
    }
}

void add_file_entities(Scene& scene, const std::string& file_name, const EntityList& list,
                       int count, const std::set<std::string>& only_layers, FileReport& report) {
    const std::size_t file = scene.files.size();
    scene.files.push_back(file_name);
    std::unordered_map<std::string, std::size_t> group_of_layer;
    std::vector<Shape> shapes;
    const std::size_t last = std::min(static_cast<std::size_t>(count < 0 ? 0 : count), list.size());
    for (std::size_t i = 0; i < last; ++i) {
        const EntityRecord& r = list[i];
        std::string layer(r.layer);
        scene.layers_seen.insert(layer);
        if (!only_layers.empty() && only_layers.count(layer) == 0) {
            continue;
        }
        shapes.clear();
        const Outcome outcome = shapes_of(r, shapes);
        if (outcome == Outcome::skipped) {
            ++report.skipped;
            continue;
        }
        if (outcome == Outcome::nothing) {
            continue;
        }
        auto found = group_of_layer.find(layer);
        if (found == group_of_layer.end()) {
            found = group_of_layer.emplace(layer, scene.groups.size()).first;
            scene.groups.push_back(LayerGroup{file, std::move(layer), {}});
        }
        LayerGroup& group = scene.groups[found->second];
        for (Shape& shape : shapes) {
            shape.colour = r.color;
            add_bounds(scene.bounds, shape);
            if (shape.kind == ShapeKind::label && shape.height > 0.0) {
                scene.text_heights.push_back(shape.height);
            }
            group.shapes.push_back(std::move(shape));
            ++scene.shape_count;
        }
    }
}

}  // namespace fad2svg
