// What a picture holds: the drawable shapes of the entities, grouped per
// input file and layer, and the box that they cover.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "entity/entity_record.hpp"

namespace fad2svg {

enum class ShapeKind {
    segment,  // a to b
    arc,      // centre a, radius, counter-clockwise from start by sweep degrees
    quad,     // filled, corners a, b, c, d in drawing order
    dot,      // a point entity at a
    label,    // text at a
};

enum class TextAnchor { start, middle, end };
enum class TextBaseline { bottom, middle, top };

// Dash patterns picked from the line type names.
enum class LinePattern { solid, dashed, dash_dot, dotted, phantom };

struct Shape {
    ShapeKind kind = ShapeKind::segment;
    int32_t colour = 7;
    LinePattern pattern = LinePattern::solid;
    Point a, b, c, d;
    double radius = 0.0;
    double start = 0.0;
    double sweep = 0.0;
    // Labels. A height of 0 asks for the picture's default text height.
    double height = 0.0;
    double angle = 0.0;  // degrees counter-clockwise
    double width_factor = 1.0;
    TextAnchor anchor = TextAnchor::start;
    TextBaseline baseline = TextBaseline::bottom;
    // Clean UTF-8 with the CAD codes expanded; a multi-line text has its
    // lines separated by '\n'.
    std::string text;
};

struct Bounds {
    double min_x = 0.0;
    double min_y = 0.0;
    double max_x = 0.0;
    double max_y = 0.0;
    bool empty = true;

    void add(Point p);
};

struct LayerGroup {
    std::size_t file = 0;  // index into Scene::files
    std::string layer;     // the name as the file gives it
    std::vector<Shape> shapes;
};

struct Scene {
    std::vector<std::string> files;  // display names, in drawing order
    std::vector<LayerGroup> groups;  // in drawing order
    Bounds bounds;
    std::vector<double> text_heights;  // of the drawing's own texts
    std::set<std::string> layers_seen;
    std::size_t shape_count = 0;
};

struct FileReport {
    int skipped = 0;  // entities of an unknown kind or shape, or with unusable numbers
};

// Adds the first count records of the list as the shapes of a new file drawn
// over everything added before. With a non-empty layer set only records on
// those layers are drawn.
void add_file_entities(Scene& scene, const std::string& file_name, const EntityList& list,
                       int count, const std::set<std::string>& only_layers, FileReport& report);

// Justification codes as anchor and baseline: "BL" to "TR", and the single
// letters "L", "C", "R" (on the baseline), "M" (middle centre), "A" and "F"
// (left on the baseline). Anything else is left on the baseline.
void anchor_for_justify(const char* justify, TextAnchor& anchor, TextBaseline& baseline);

// The dash pattern of a line type name: names holding HIDDEN or DASHED
// (dashed), CENTER, CENTRE or DASHDOT (dash-dot), PHANTOM or DIVIDE
// (phantom), DOT (dotted), in any letter case; anything else is solid.
LinePattern pattern_for_line_type(const char* name);

// Distance between the baselines of a multi-line text, in text heights.
constexpr double kLineSpacing = 5.0 / 3.0;

// Where the first line's baseline lies below the insertion point (SVG's
// downward y), in drawing units, for a text of the given cap height and
// number of lines: the block of lines hangs from the point (top), is
// centred on it (middle) or stands on it (bottom).
double first_baseline(TextBaseline baseline, double height, std::size_t lines);

// The text of a dimension: its own text, where "<>" (or an empty text)
// stands for the measured length.
std::string dimension_text(const char* text, double length);

}  // namespace fad2svg
