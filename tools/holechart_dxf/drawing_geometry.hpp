// The drawing's geometry as far as finding holes and the drawing's extent
// need it: every entity of model space and of every block as a few simple
// shapes, and the block references placed (exploded) into drawing
// coordinates, nested, scaled, mirrored, rotated and arrayed. The drawing
// itself is not changed: this is a reading of it.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

#include "entity/entity_record.hpp"
#include "tools/holechart_dxf/exchange_lines.hpp"

namespace holechart_dxf {

struct Extents {
    bool empty = true;
    double min_x = 0.0;
    double min_y = 0.0;
    double max_x = 0.0;
    double max_y = 0.0;
};

void include_point(Extents& e, Point p);
// The larger of width and height; 0 when empty.
double larger_side(const Extents& e);

// x' = a x + b y + tx, y' = c x + d y + ty.
struct Affine {
    double a = 1.0, b = 0.0, c = 0.0, d = 1.0, tx = 0.0, ty = 0.0;

    Point apply(Point p) const { return {a * p.x + b * p.y + tx, c * p.x + d * p.y + ty}; }
    Point apply_vector(Point v) const { return {a * v.x + b * v.y, c * v.x + d * v.y}; }
    double determinant() const { return a * d - b * c; }
    // This map after inner.
    Affine after(const Affine& inner) const;
    // The scale of a map that keeps circles round (rotation, uniform scale,
    // perhaps a mirror), or 0 when it makes ellipses of them.
    double round_scale() const;
};

// Outlines that look round but are not charted: only circles, arcs and
// rings are holes.
enum class RoundOutline { faceted_polygon, closed_spline, circular_ellipse };
constexpr int kRoundOutlineKinds = 3;

// The head of a block's entity keeps what it takes from the reference that
// places it: an entity on layer 0 takes the reference's layer (and the
// layer's line type and colour where it goes by layer), BYBLOCK takes the
// reference's own.
struct ShapeHead {
    RecordHead head;
    bool layer_zero = false;
    bool line_type_by_layer = false;
    bool color_by_layer = false;
    bool color_by_block = false;
    bool line_type_by_block = false;
    int layer_color = 7;          // of its own layer
    std::string layer_line_type;  // of its own layer, a token
};

enum class GeometryShapeKind : unsigned char {
    line,           // a, b: a line or a straight polyline segment
    circle,         // centre, radius
    arc,            // centre, radius, start, end (degrees, counter-clockwise)
    bulge_arc,      // as arc, and a, b, bulge: the polyline's segment in its own order
    ellipse,        // centre, u, v (conjugate half axes), start, end (radians)
    point,          // a: only widens the extent
    ends,           // a, b: the two ends of an open curve other than a line or arc
    insert,         // index: the block reference
    round_outline,  // index: a RoundOutline, counted
};

struct GeometryShape {
    GeometryShapeKind kind = GeometryShapeKind::point;
    int head = -1;   // circle, arc, bulge_arc, insert
    int line = -1;   // the exchange line of a model-space entity, or -1
    int index = -1;  // insert: the reference; round_outline: the RoundOutline
    Point a, b;
    Point centre;
    Point u, v;
    double radius = 0.0;
    double start = 0.0;
    double end = 0.0;
    double bulge = 0.0;
};

struct BlockReference {
    std::string block;  // upper-cased
    Point at;           // in the reference's plane
    double scale_x = 1.0;
    double scale_y = 1.0;
    double rotation = 0.0;  // degrees
    int columns = 1;
    int rows = 1;
    double column_spacing = 0.0;
    double row_spacing = 0.0;
    bool mirrored = false;      // placed from below (extrusion -Z)
    bool extents_only = false;  // the picture of a dimension: no holes in it
};

// A circle or an arc in drawing coordinates: a hole candidate. Small, as a
// drawing's references may place very many.
struct RoundItem {
    Point centre;
    double radius = 0.0;
    double start = 0.0;  // degrees, counter-clockwise; a circle's are 0
    double end = 0.0;
    int line = -1;      // model space: the entity's exchange line
    int head = -1;      // into the geometry's heads
    int inherit = -1;   // into PlacedDrawing::inherited, or -1 in model space
    int piece = -1;     // an arc's ends: PlacedDrawing::ends[2 piece] and [2 piece + 1]
    int segment = -1;   // a polyline's segment: into PlacedDrawing::segments
    bool full = false;  // a circle

    // The swept angle: 360 for a circle.
    double sweep() const;
};

// A polyline segment's own ends and bulge, in its own order.
struct BulgeSegment {
    Point a, b;
    double bulge = 0.0;
};

// What a placed entity takes from the references above it.
struct Inherited {
    // Texts of the geometry's heads, which outlive every placing.
    const std::string* layer = nullptr;
    int color = 7;
    const std::string* line_style = nullptr;
    int layer_color = 7;
    const std::string* layer_line_type = nullptr;
};

// The two ends of each line, arc, segment and open curve lie side by side:
// those of piece p at 2 p and 2 p + 1.
struct EndPoint {
    Point at;
    int piece;  // the line, arc, segment or curve it ends
};

// Where end 0 or 1 of piece lies in PlacedDrawing::ends.
inline std::size_t end_index(int piece, int end) {
    return 2 * static_cast<std::size_t>(piece) + static_cast<std::size_t>(end);
}

struct PlacedDrawing {
    Extents extents;
    std::vector<RoundItem> rounds;
    std::vector<BulgeSegment> segments;
    std::vector<EndPoint> ends;
    std::vector<Inherited> inherited;
    int round_outlines[kRoundOutlineKinds] = {};
    int unequally_scaled = 0;  // circles and arcs that a reference makes elliptic
    int collapsed = 0;         // circles and arcs that a reference's zero scale makes a point
    int no_radius = 0;         // circles and arcs whose radius is not above 0
    int missing_blocks = 0;    // references to blocks the drawing does not define
    int too_deep = 0;          // references nested too deep or in themselves
    bool too_many = false;     // more placed shapes than kMaxPlacedShapes
    bool over_budget = false;  // more than the memory budget would hold

    // The memory that what was placed takes, about.
    double bytes() const;
};

// How deep references may nest, and how many shapes and block copies
// placing them may give.
constexpr int kMaxNesting = 32;
constexpr long long kMaxPlacedShapes = 5000000;

class DrawingGeometry {
  public:
    DrawingGeometry();

    // Entities go to the block being defined, or to model space.
    void begin_block(const std::string& name, Point base);
    void end_block();
    bool in_block() const { return current_ != 0; }

    int add_head(ShapeHead head);
    int add_reference(BlockReference reference);
    void add(const GeometryShape& shape) {
        blocks_[static_cast<std::size_t>(current_)].shapes.push_back(shape);
    }
    void add_point(Point p);
    void add_line(Point a, Point b);

    // Places model space and every reference in it into drawing coordinates,
    // stopping (too_many, over_budget) where that would place more than
    // kMaxPlacedShapes shapes and block copies or take more memory than the
    // budget (bytes).
    PlacedDrawing place(double budget) const;

    const ShapeHead& head(int i) const { return heads_[static_cast<std::size_t>(i)]; }
    // The head of a placed item, resolved against what it inherits.
    RecordHead resolved_head(const RoundItem& item, const PlacedDrawing& placed) const;

  private:
    struct Block {
        Point base;
        // A deque: a drawing of millions of entities grows it without the
        // copy that a vector's growth holds beside it.
        std::deque<GeometryShape> shapes;
    };
    struct Walk;

    std::vector<Block> blocks_;  // 0: model space
    std::unordered_map<std::string, int> block_index_;
    std::vector<ShapeHead> heads_;
    std::vector<BlockReference> references_;
    int current_ = 0;
};

}  // namespace holechart_dxf
