#include "tools/fad2svg/svg_writer.hpp"

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

#include "geometry/geometry.hpp"
#include "tools/fad2svg/colours.hpp"
#include "tools/fad2svg/svg_text.hpp"

namespace fad2svg {

namespace {

constexpr double kMarginShare = 0.05;         // of the larger side, on every side
constexpr double kStrokeShare = 1.0 / 800.0;  // of the larger side of the view
constexpr double kDefaultTextShare = 1.0 / 80.0;
constexpr double kDotRadiusStrokes = 2.0;
// CAD text heights are cap heights; a sans-serif font's capitals are about
// 0.7 of its size.
constexpr double kFontSizePerHeight = 1.4;
constexpr double kFullCircle = 359.999;

double median(std::vector<double> values) {
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

struct Writer {
    std::string& out;
    const View& view;
    Background background;

    void number(double v) { append_number(out, v, view.decimals); }
    // SVG y grows downwards.
    void x(double v) { number(v); }
    void y(double v) { number(-v); }

    void attribute(const char* name, double value) {
        out += ' ';
        out += name;
        out += "=\"";
        number(value);
        out += '"';
    }

    void colour_attribute(const char* name, int32_t colour) {
        out += ' ';
        out += name;
        out += "=\"";
        out += colour_for(colour, background);
        out += '"';
    }

    void segment(const Shape& s) {
        out += "<line";
        attribute("x1", s.a.x);
        attribute("y1", -s.a.y);
        attribute("x2", s.b.x);
        attribute("y2", -s.b.y);
        colour_attribute("stroke", s.colour);
        dashes(s.pattern);
        out += "/>\n";
    }

    // Dash lengths grow with the view, like the line width.
    void dashes(LinePattern pattern) {
        if (pattern == LinePattern::solid) {
            return;
        }
        static const std::vector<double> kPatterns[] = {
            {}, {6.0, 3.0}, {16.0, 3.0, 3.0, 3.0}, {0.01, 3.0}, {16.0, 3.0, 3.0, 3.0, 3.0, 3.0},
        };
        out += " stroke-dasharray=\"";
        const std::vector<double>& lengths = kPatterns[static_cast<int>(pattern)];
        for (std::size_t i = 0; i < lengths.size(); ++i) {
            if (i > 0) {
                out += ' ';
            }
            number(lengths[i] * view.stroke);
        }
        out += '"';
    }

    void arc(const Shape& s) {
        if (s.sweep >= kFullCircle) {
            out += "<circle";
            attribute("cx", s.a.x);
            attribute("cy", -s.a.y);
            attribute("r", s.radius);
            colour_attribute("stroke", s.colour);
            dashes(s.pattern);
            out += "/>\n";
            return;
        }
        const PointPair ends = compute_arc_end_points(s.a.x, s.a.y, s.radius, s.start, s.sweep);
        out += "<path d=\"M";
        x(ends.sx);
        out += ' ';
        y(ends.sy);
        out += 'A';
        number(s.radius);
        out += ' ';
        number(s.radius);
        // Counter-clockwise with y upwards is the negative direction of SVG.
        out += s.sweep > 180.0 ? " 0 1 0 " : " 0 0 0 ";
        x(ends.ex);
        out += ' ';
        y(ends.ey);
        out += '"';
        colour_attribute("stroke", s.colour);
        dashes(s.pattern);
        out += "/>\n";
    }

    void quad(const Shape& s) {
        out += "<polygon points=\"";
        const Point corners[4] = {s.a, s.b, s.c, s.d};
        for (int i = 0; i < 4; ++i) {
            if (i > 0) {
                out += ' ';
            }
            x(corners[i].x);
            out += ',';
            y(corners[i].y);
        }
        out += '"';
        colour_attribute("fill", s.colour);
        colour_attribute("stroke", s.colour);
        out += "/>\n";
    }

    void dot(const Shape& s) {
        out += "<circle";
        attribute("cx", s.a.x);
        attribute("cy", -s.a.y);
        attribute("r", view.stroke * kDotRadiusStrokes);
        colour_attribute("fill", s.colour);
        out += "/>\n";
    }

    void label(const Shape& s) {
        const double height = s.height > 0.0 ? s.height : view.text_height;
        out += "<text transform=\"translate(";
        x(s.a.x);
        out += ' ';
        y(s.a.y);
        out += ')';
        if (s.angle != 0.0) {
            out += " rotate(";
            append_number(out, -s.angle, 6);
            out += ')';
        }
        if (s.width_factor != 1.0) {
            out += " scale(";
            append_number(out, s.width_factor, 6);
            out += " 1)";
        }
        out += '"';
        const std::size_t lines =
            1 + static_cast<std::size_t>(std::count(s.text.begin(), s.text.end(), '\n'));
        // Middle and top justification move the baseline down from the
        // insertion point by half or all of the cap height.
        const double first = first_baseline(s.baseline, height, lines);
        if (lines == 1 && first != 0.0) {
            attribute("y", first);
        }
        attribute("font-size", height * kFontSizePerHeight);
        if (s.anchor == TextAnchor::middle) {
            out += " text-anchor=\"middle\"";
        } else if (s.anchor == TextAnchor::end) {
            out += " text-anchor=\"end\"";
        }
        colour_attribute("fill", s.colour);
        out += '>';
        if (lines == 1) {
            append_escaped(out, s.text);
        } else {
            std::size_t from = 0;
            for (std::size_t i = 0; i < lines; ++i) {
                const std::size_t end = s.text.find('\n', from);
                out += "<tspan x=\"0\"";
                attribute("y", first + static_cast<double>(i) * kLineSpacing * height);
                out += '>';
                append_escaped(out, std::string_view(s.text).substr(
                                        from, end == std::string::npos ? end : end - from));
                out += "</tspan>";
                from = end + 1;
            }
        }
        out += "</text>\n";
    }

    void shape(const Shape& s) {
        // In the order of ShapeKind.
        using Draw = void (Writer::*)(const Shape&);
        static constexpr Draw kDraw[] = {&Writer::segment, &Writer::arc, &Writer::quad,
                                         &Writer::dot, &Writer::label};
        (this->*kDraw[static_cast<int>(s.kind)])(s);
    }
};

std::string unique_id(std::string id, std::set<std::string>& used) {
    if (used.insert(id).second) {
        return id;
    }
    for (int n = 2;; ++n) {
        std::string candidate = id + "-" + std::to_string(n);
        if (used.insert(candidate).second) {
            return candidate;
        }
    }
}

void open_layer(std::string& out, const std::string& id, const std::string& label) {
    out += "<g id=\"";
    out += id;
    out += "\" inkscape:groupmode=\"layer\" inkscape:label=\"";
    append_escaped(out, clean_utf8(label));
    out += "\">\n";
}

}  // namespace

View view_for(const Scene& scene) {
    Bounds b = scene.bounds;
    if (b.empty) {
        b.add({0.0, 0.0});
        b.add({1.0, 1.0});
    }
    double size = std::max(b.max_x - b.min_x, b.max_y - b.min_y);
    if (!(size > 0.0)) {
        size = 1.0;
    }
    const double margin = size * kMarginShare;
    View view;
    view.min_x = b.min_x - margin;
    view.min_y = b.min_y - margin;
    view.width = b.max_x - b.min_x + 2.0 * margin;
    view.height = b.max_y - b.min_y + 2.0 * margin;
    const double larger = std::max(view.width, view.height);
    view.stroke = larger * kStrokeShare;
    view.text_height =
        scene.text_heights.empty() ? larger * kDefaultTextShare : median(scene.text_heights);
    // Six significant digits of the view's size, whatever the drawing's unit.
    view.decimals = std::clamp(6 - static_cast<int>(std::floor(std::log10(larger))), 0, 12);
    return view;
}

namespace {

// The document's head: its size, its view box and the files as its title.
void write_head(Writer& w, const Scene& scene, const SvgStyle& style) {
    std::string& out = w.out;
    const View& view = w.view;
    const double pixels_high = std::max(1.0, std::round(style.width * view.height / view.width));
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out +=
        "<svg xmlns=\"http://www.w3.org/2000/svg\" "
        "xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\" version=\"1.1\"";
    out += " width=\"" + std::to_string(style.width) + "\" height=\"";
    append_number(out, pixels_high, 0);
    out += "\" viewBox=\"";
    w.x(view.min_x);
    out += ' ';
    w.y(view.min_y + view.height);
    out += ' ';
    w.number(view.width);
    out += ' ';
    w.number(view.height);
    out += "\">\n<title>";
    for (std::size_t i = 0; i < scene.files.size(); ++i) {
        if (i > 0) {
            out += ", ";
        }
        append_escaped(out, clean_utf8(scene.files[i]));
    }
    out += "</title>\n";
}

// The background, then the opening of the group that holds the drawing.
void open_drawing(Writer& w, const SvgStyle& style) {
    std::string& out = w.out;
    const View& view = w.view;
    const Palette palette = palette_for(style.background);
    out += "<rect id=\"background\"";
    w.attribute("x", view.min_x);
    w.attribute("y", -(view.min_y + view.height));
    w.attribute("width", view.width);
    w.attribute("height", view.height);
    out += " fill=\"";
    out += palette.background;
    out += "\"/>\n";

    out += "<g id=\"drawing\" fill=\"none\"";
    w.attribute("stroke-width", view.stroke);
    out += " stroke-linecap=\"round\" stroke-linejoin=\"round\" font-family=\"sans-serif\">\n";
}

// Each file's layers, each in a group of its own within the file's group.
void write_groups(Writer& w, const Scene& scene) {
    std::string& out = w.out;
    std::set<std::string> used{"background", "drawing"};
    std::size_t open_file = scene.files.size();
    for (const LayerGroup& group : scene.groups) {
        if (group.file != open_file) {
            if (open_file != scene.files.size()) {
                out += "</g>\n";
            }
            open_file = group.file;
            open_layer(out, unique_id("file-" + std::to_string(open_file + 1), used),
                       scene.files[open_file]);
        }
        open_layer(out, unique_id(id_for_layer(group.layer), used), group.layer);
        for (const Shape& shape : group.shapes) {
            w.shape(shape);
        }
        out += "</g>\n";
    }
    if (open_file != scene.files.size()) {
        out += "</g>\n";
    }
}

}  // namespace

std::string write_svg(const Scene& scene, const SvgStyle& style) {
    const View view = view_for(scene);
    std::string out;
    out.reserve(4096 + scene.shape_count * 96);
    Writer w{out, view, style.background};
    write_head(w, scene, style);
    open_drawing(w, style);
    write_groups(w, scene);
    out += "</g>\n</svg>\n";
    return out;
}

}  // namespace fad2svg
