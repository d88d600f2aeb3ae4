#include "tools/holechart_dxf/entity_mapper.hpp"

#include <cmath>
#include <utility>

#include "geometry/geometry.hpp"
#include "tools/holechart_dxf/chart_marks.hpp"
#include "tools/holechart_dxf/dxf_values.hpp"
#include "tools/holechart_dxf/exchange_lines.hpp"

namespace holechart_dxf {

namespace {

// A closed polyline of at least this many straight segments whose corners
// lie on one circle looks round.
constexpr std::size_t kFacetedCorners = 8;
// How far an ellipse's axes may differ and it still be a circle.
constexpr double kCircularRatio = 1e-6;
constexpr double kTwoPi = 6.283185307179586;
// A colour that goes by layer, and one that goes by block.
constexpr int kColorByLayer = 256;
constexpr int kColorByBlock = 0;
// The colour of a layer or entity whose own is none of 1 to 255.
constexpr int kDefaultColor = 7;
// POLYLINE flags.
constexpr int kClosed = 1;
constexpr int kPolyline3d = 8;
constexpr int kMeshes = 16 | 64;  // a mesh or a polyface mesh: a surface, no outline
// A VERTEX that is only a polyface mesh's face has this flag without 64.
constexpr int kFaceRecord = 128;

bool in_drawing(const std::string& section) {
    return section == "ENTITIES" || section == "BLOCKS";
}

// The colours 1 to 255, whatever their sign (a layer that is off has its
// colour negative); anything else the default.
int plain_color(int color) {
    const int magnitude = color < 0 ? -color : color;
    return magnitude >= 1 && magnitude <= 255 ? magnitude : kDefaultColor;
}

}  // namespace

bool EntityMapper::take_pair(const DxfPair& pair, std::string& error) {
    PairEvent event = PairEvent::none;
    if (pair.code == 0) {
        if (object_open_ && !complete_object(pair.begin, error)) {
            return false;
        }
        if (!structure_.take_pair(0, pair.value, pair.line, event, error)) {
            return false;
        }
        object_section_ = structure_.section();
        object_begin_ = pair.begin;
        object_open_ = true;
        decoder_.begin(pair.value, pair.line, in_drawing(object_section_));
    } else {
        if (!structure_.take_pair(pair.code, pair.value, pair.line, event, error)) {
            return false;
        }
        if (object_open_) {
            decoder_.take(pair);
        }
    }
    DxfLayout& layout = drawing_.layout;
    switch (event) {
        case PairEvent::entities_end:
            layout.entities_end = pair.begin;
            break;
        case PairEvent::layer_table_end:
            layout.layer_table_end = pair.begin;
            break;
        case PairEvent::appid_table_end:
            layout.appid_table_end = pair.begin;
            break;
        case PairEvent::handseed:
            layout.handseed_begin = pair.begin;
            layout.handseed_end = pair.end;
            break;
        case PairEvent::none:
            break;
    }
    return true;
}

bool EntityMapper::finish(std::string& error) {
    if (!structure_.finish(error)) {
        return false;
    }
    flush_polyline();
    geometry_.end_block();
    DxfLayout& layout = drawing_.layout;
    structure_.fill_layout(layout);
    for (const auto& layer : layers_) {
        layout.layer_names.push_back(layer.first);
    }
    drawing_.insertion_units = structure_.header().insertion_units;
    drawing_.measurement = structure_.header().measurement;
    return true;
}

bool EntityMapper::complete_object(std::size_t end, std::string& error) {
    decoder_.finish();
    return take_earlier_chart(end) || map_object(error);
}

bool EntityMapper::take_earlier_chart(std::size_t end) {
    const std::string& type = decoder_.type();
    // Only the chart's own lines and texts, with its own mark, are an
    // earlier chart, which the new one replaces: a marked circle is still
    // a hole.
    if (object_section_ != "ENTITIES" || !decoder_.chart_mark() ||
        (type != "LINE" && type != "TEXT")) {
        return false;
    }
    EarlierRow row;
    const RowMark mark = read_row_mark(decoder_.chart_data(), row);
    if (mark == RowMark::foreign) {
        return false;
    }
    drawing_.layout.earlier_chart.push_back({object_begin_, end});
    if (mark == RowMark::row && type == "TEXT") {
        drawing_.earlier_rows.push_back(row);
    } else if (mark == RowMark::bad && drawing_.earlier_rows_fault.empty()) {
        drawing_.earlier_rows_fault = "the chart mark of the " + type + " of line " +
                                      std::to_string(decoder_.line()) + " does not read as a row";
    }
    return true;
}

bool EntityMapper::map_object(std::string& error) {
    const std::string& type = decoder_.type();
    if (type == "BLOCK" || type == "ENDBLK" || type == "ENDSEC" || type == "LAYER" ||
        type == "VERTEX" || type == "SEQEND") {
        return map_structure_kind(error);
    }
    if (!in_drawing(object_section_) || type == "XLINE" || type == "RAY" || type == "ATTDEF") {
        return true;
    }
    EntityCommon common;
    if (!decoder_.decode(kEntityCommonCodes, common, error) || !decoder_.lists_sound(error)) {
        return false;
    }
    return map_entity(common, error);
}

bool EntityMapper::map_structure_kind(std::string& error) {
    const std::string& type = decoder_.type();
    if (type == "LAYER") {
        LayerData layer;
        if (object_section_ != "TABLES" || !decoder_.decode(kLayerCodes, layer, error)) {
            return error.empty();
        }
        if (!layer.name.empty()) {
            layers_[dxf_upper(layer.name)] = LayerStyle{
                plain_color(layer.color), token_text(layer.line_type, kNewLayerLineType)};
        }
        return true;
    }
    if (type == "VERTEX") {
        VertexData v;
        if (!decoder_.decode(kVertexCodes, v, error)) {
            return false;
        }
        const bool face = (v.flags & kFaceRecord) != 0 && (v.flags & 64) == 0;
        if (polyline_.open && !face) {
            const bool mirrored = polyline_.plane == EntityPlane::mirrored;
            polyline_.vertices.push_back(DxfVertex{to_drawing(Point{v.x, v.y}, polyline_.plane),
                                                   mirrored ? -v.bulge : v.bulge});
        }
        return true;
    }
    flush_polyline();
    if (type == "BLOCK" && object_section_ == "BLOCKS") {
        BlockData block;
        if (!decoder_.decode(kBlockCodes, block, error)) {
            return false;
        }
        // A block that another begins before its ENDBLK ends there.
        if (!block.name.empty()) {
            geometry_.begin_block(dxf_upper(block.name), Point{block.base_x, block.base_y});
        }
    } else if (type == "ENDBLK" || type == "ENDSEC") {
        // A block without its ENDBLK ends with its section: the entities
        // after it are model space's.
        geometry_.end_block();
    }
    return true;
}

EntityMapper::Target EntityMapper::target_of(const EntityCommon& common) const {
    if (object_section_ == "ENTITIES") {
        return common.paper_space != 0 ? Target::none : Target::model;
    }
    return object_section_ == "BLOCKS" && geometry_.in_block() ? Target::block : Target::none;
}

EntityPlane EntityMapper::plane_of_entity(const EntityCommon& common, Target target) {
    const EntityPlane plane = plane_of(common.extrusion_x, common.extrusion_y, common.extrusion_z);
    if (plane == EntityPlane::tilted && target == Target::model) {
        drawing_.tilted += 1;
    }
    return plane;
}

bool EntityMapper::in_drawing_plane(const EntityCommon& common, Target target, EntityPlane& plane) {
    if (target == Target::none) {
        return false;
    }
    plane = plane_of_entity(common, target);
    return plane != EntityPlane::tilted;
}

ShapeHead EntityMapper::head_of(const EntityCommon& common, bool numbered) {
    ShapeHead shape;
    RecordHead& head = shape.head;
    head.id = numbered ? ++next_id_ : 0;
    head.handle = token_text(dxf_upper(common.handle), "0");
    head.layer = token_text(common.layer, "0");
    const std::string layer_name = dxf_upper(common.layer);
    shape.layer_zero = layer_name == "0";

    const auto layer = layers_.find(layer_name);
    shape.layer_color = layer != layers_.end() ? layer->second.color : kDefaultColor;
    shape.layer_line_type = layer != layers_.end() ? layer->second.line_type : kNewLayerLineType;
    if (common.color == kColorByLayer) {
        head.color = shape.layer_color;
        shape.color_by_layer = true;
    } else if (common.color == kColorByBlock) {
        // The format has no colour 0, and writes it as 1.
        head.color = 1;
        shape.color_by_block = true;
    } else {
        head.color = plain_color(common.color);
    }

    const std::string line_type = dxf_upper(common.line_type);
    if (line_type.empty() || line_type == "BYLAYER") {
        head.line_type = "ByL";
        head.line_style = shape.layer_line_type;
        shape.line_type_by_layer = true;
    } else if (line_type == "BYBLOCK") {
        head.line_type = "ByB";
        head.line_style = "ByB";
        shape.line_type_by_block = true;
    } else {
        head.line_type = token_text(common.line_type, "ByL");
        head.line_style = head.line_type;
    }
    if (decoder_.has_tag()) {
        head.tag = token_text(decoder_.tag(), "NO");
    }
    return shape;
}

int EntityMapper::add_line(std::string line) {
    drawing_.lines.push_back(std::move(line));
    return static_cast<int>(drawing_.lines.size()) - 1;
}

void EntityMapper::add_points(const std::array<Point, 4>& corners) {
    for (const Point& p : corners) {
        geometry_.add_point(p);
    }
}

bool EntityMapper::map_entity(const EntityCommon& common, std::string& error) {
    const Target target = target_of(common);
    // A POLYLINE's vertices end at its SEQEND, which the structure checks.
    flush_polyline();
    return map_shape_kind(common, target, error) && map_text_kind(common, target, error) &&
           map_extent_kind(common, target, error);
}

template <typename Data, std::size_t N>
bool EntityMapper::decode_and_map(const GroupCode<Data> (&codes)[N],
                                  void (EntityMapper::*map)(const EntityCommon&, Target,
                                                            const Data&),
                                  const EntityCommon& c, Target target, std::string& error) {
    Data d;
    if (!decoder_.decode(codes, d, error)) {
        return false;
    }
    (this->*map)(c, target, d);
    return true;
}

bool EntityMapper::map_shape_kind(const EntityCommon& common, Target target, std::string& error) {
    const std::string& type = decoder_.type();
    if (type == "LINE") {
        return decode_and_map(kLineCodes, &EntityMapper::map_line, common, target, error);
    }
    if (type == "CIRCLE" || type == "ARC") {
        CircleData d;
        const bool full = type == "CIRCLE";
        return (full ? decoder_.decode(kCircleCodes, d, error)
                     : decoder_.decode(kArcCodes, d, error)) &&
               (map_round(common, target, d, full), true);
    }
    if (type == "POLYLINE" || type == "LWPOLYLINE") {
        PolylineData d;
        if (!decoder_.decode(kPolylineCodes, d, error)) {
            return false;
        }
        start_polyline(common, target, d.flags);
        if (type == "LWPOLYLINE") {
            const bool mirrored = polyline_.plane == EntityPlane::mirrored;
            for (const DxfVertex& v : decoder_.vertices()) {
                polyline_.vertices.push_back(
                    DxfVertex{to_drawing(v.at, polyline_.plane), mirrored ? -v.bulge : v.bulge});
            }
            flush_polyline();
        }
        return true;
    }
    if (type == "INSERT") {
        return decode_and_map(kInsertCodes, &EntityMapper::map_insert, common, target, error);
    }
    if (type == "ELLIPSE") {
        return decode_and_map(kEllipseCodes, &EntityMapper::map_ellipse, common, target, error);
    }
    if (type == "SPLINE" && target != Target::none) {
        // In drawing coordinates, whatever its extrusion.
        SplineData d;
        return decoder_.decode(kSplineCodes, d, error) && (map_spline(d), true);
    }
    return true;
}

bool EntityMapper::map_text_kind(const EntityCommon& common, Target target, std::string& error) {
    const std::string& type = decoder_.type();
    if (type == "TEXT") {
        return decode_and_map(kTextCodes, &EntityMapper::map_text, common, target, error);
    }
    if (type == "ATTRIB") {
        // An attribute shows as a text but is no record of the drawing.
        TextData d;
        if (!decoder_.decode(kAttributeCodes, d, error)) {
            return false;
        }
        EntityPlane plane = EntityPlane::top;
        if (in_drawing_plane(common, target, plane)) {
            add_points(attribute_box(d, plane));
        }
        return true;
    }
    if (type == "MTEXT") {
        return decode_and_map(kMTextCodes, &EntityMapper::map_mtext, common, target, error);
    }
    if (type == "DIMENSION") {
        return decode_and_map(kDimensionCodes, &EntityMapper::map_dimension, common, target, error);
    }
    if (type == "POINT") {
        return decode_and_map(kPointCodes, &EntityMapper::map_point, common, target, error);
    }
    return true;
}

// Kinds that get no record of their own but widen the drawing's extent.
bool EntityMapper::map_extent_kind(const EntityCommon& common, Target target, std::string& error) {
    const std::string& type = decoder_.type();
    if (type == "SOLID" || type == "TRACE" || type == "3DFACE") {
        CornerData d;
        return decoder_.decode(kCornerCodes, d, error) &&
               (map_corners(common, target, d, type == "SOLID"), true);
    }
    if (target == Target::none) {
        return true;
    }
    if (type == "IMAGE") {
        ImageData d;
        if (!decoder_.decode(kImageCodes, d, error)) {
            return false;
        }
        const Point at{d.x, d.y};
        const Point u{d.u_x * d.width, d.u_y * d.width};
        const Point v{d.v_x * d.height, d.v_y * d.height};
        add_points({at, Point{at.x + u.x, at.y + u.y}, Point{at.x + v.x, at.y + v.y},
                    Point{at.x + u.x + v.x, at.y + u.y + v.y}});
    } else if (type == "LEADER") {
        for (const DxfVertex& v : decoder_.vertices()) {
            geometry_.add_point(v.at);
        }
    } else if (type == "HATCH") {
        // The boundary in the hatch's plane.
        EntityPlane plane = EntityPlane::top;
        if (in_drawing_plane(common, target, plane)) {
            for (const Point& p : decoder_.extent_points()) {
                geometry_.add_point(to_drawing(p, plane));
            }
        }
    } else {
        // A kind the bridge does not know: its points.
        for (const Point& p : decoder_.extent_points()) {
            geometry_.add_point(p);
        }
    }
    return true;
}

void EntityMapper::map_line(const EntityCommon& c, Target target, const LineData& d) {
    if (target == Target::none) {
        return;
    }
    const Point a{d.x1, d.y1};
    const Point b{d.x2, d.y2};
    if (target == Target::model) {
        add_line(line_record(head_of(c, true).head, a, b));
    }
    geometry_.add_line(a, b);
}

void EntityMapper::map_round(const EntityCommon& c, Target target, const CircleData& d, bool full) {
    EntityPlane plane = EntityPlane::top;
    if (!in_drawing_plane(c, target, plane)) {
        return;
    }
    GeometryShape shape;
    shape.kind = full ? GeometryShapeKind::circle : GeometryShapeKind::arc;
    shape.centre = to_drawing(Point{d.x, d.y}, plane);
    shape.radius = d.radius;
    if (!full) {
        const ArcAngles angles = arc_angles_in_drawing(d.start, d.end, plane);
        shape.start = angles.start;
        shape.end = angles.end;
    }
    ShapeHead head = head_of(c, target == Target::model);
    if (target == Target::model) {
        shape.line = add_line(
            full ? circle_record(head.head, shape.centre, shape.radius)
                 : arc_record(head.head, shape.centre, shape.radius, shape.start, shape.end));
    }
    shape.head = geometry_.add_head(std::move(head));
    geometry_.add(shape);
}

void EntityMapper::map_text(const EntityCommon& c, Target target, const TextData& d) {
    EntityPlane plane = EntityPlane::top;
    const std::string text = token_text(d.text, "");
    // A text without characters shows nothing, and the format cannot carry it.
    if (!in_drawing_plane(c, target, plane) || text.empty()) {
        return;
    }
    if (target == Target::model) {
        const int h = d.horizontal;
        const int v = d.vertical;
        std::string justify;
        if (h == 4) {
            justify = "MC";
        } else {
            justify += v == 2 ? 'M' : v == 3 ? 'T' : 'B';
            justify += h == 1 ? 'C' : h == 2 ? 'R' : 'L';
        }
        const double angle = plane == EntityPlane::mirrored ? 180.0 - d.angle : d.angle;
        add_line(text_record(head_of(c, true).head, "TEXT", to_drawing(text_anchor(d), plane),
                             d.height, normalise_degrees(angle), justify, text));
    }
    add_points(text_box(d, plane));
}

void EntityMapper::map_mtext(const EntityCommon& c, Target target, const MTextData& d) {
    EntityPlane plane = EntityPlane::top;
    const std::string whole = decoder_.mtext_text();
    const std::string text = token_text(whole, "");
    if (!in_drawing_plane(c, target, plane) || text.empty()) {
        return;
    }
    static const char* const kAttachments[] = {"TL", "TC", "TR", "ML", "MC",
                                               "MR", "BL", "BC", "BR"};
    const int attachment = d.attachment >= 1 && d.attachment <= 9 ? d.attachment : 1;
    if (target == Target::model) {
        add_line(text_record(head_of(c, true).head, "MTEXT", Point{d.x, d.y}, d.height,
                             mtext_angle(d), kAttachments[attachment - 1], text));
    }
    add_points(mtext_box(d, whole, plane));
}

void EntityMapper::map_point(const EntityCommon& c, Target target, const PointData& d) {
    if (target == Target::none) {
        return;
    }
    const DxfHeader& header = structure_.header();
    if (target == Target::model) {
        add_line(point_record(head_of(c, true).head, Point{d.x, d.y}, header.point_mode,
                              header.point_size));
    }
    geometry_.add_point(Point{d.x, d.y});
}

void EntityMapper::map_corners(const EntityCommon& c, Target target, const CornerData& d,
                               bool solid) {
    if (target == Target::none) {
        return;
    }
    // A 3DFACE is in drawing coordinates: seen from above, whatever its
    // corners' heights.
    const bool face = decoder_.type() == "3DFACE";
    const EntityPlane plane = face ? EntityPlane::top : plane_of_entity(c, target);
    if (plane == EntityPlane::tilted) {
        return;
    }
    const Point corners[4] = {
        to_drawing(Point{d.x1, d.y1}, plane), to_drawing(Point{d.x2, d.y2}, plane),
        to_drawing(Point{d.x3, d.y3}, plane), to_drawing(Point{d.x4, d.y4}, plane)};
    for (const Point& p : corners) {
        geometry_.add_point(p);
    }
    if (solid && target == Target::model) {
        add_line(solid_record(head_of(c, true).head, corners));
    }
}

void EntityMapper::map_dimension(const EntityCommon& c, Target target, const DimensionData& d) {
    DimensionValues values;
    EntityPlane plane = EntityPlane::top;
    if (target == Target::none || !dimension_geometry(d, values) ||
        !in_drawing_plane(c, target, plane)) {
        return;
    }
    const DxfHeader& header = structure_.header();
    values.type = d.type & 7;
    values.style = token_text(d.style, "Standard");
    const double scale = header.dimension_scale > 0.0 ? header.dimension_scale : 1.0;
    values.text_height = header.dimension_text_height * scale;
    values.text_at = Point{d.x11, d.y11};
    // A text rotation set on the dimension wins over the direction of its
    // dimension line.
    if (d.text_angle != 0.0) {
        values.angle = normalise_degrees(d.text_angle);
    }
    values.text = token_text(d.text, "<>");
    for (const Point& p : {values.p1, values.p2, values.p4, values.p5, values.text_at}) {
        geometry_.add_point(p);
    }
    // Its picture, a block of lines, arrows and texts, widens the extent
    // but holds no holes: a dot arrow is no hole.
    if (!d.block.empty()) {
        BlockReference r;
        r.block = dxf_upper(d.block);
        r.extents_only = true;
        GeometryShape shape;
        shape.kind = GeometryShapeKind::insert;
        shape.index = geometry_.add_reference(std::move(r));
        geometry_.add(shape);
    }
    if (target == Target::model) {
        add_line(dimension_record(head_of(c, true).head, values));
    }
}

void EntityMapper::map_insert(const EntityCommon& c, Target target, const InsertData& d) {
    EntityPlane plane = EntityPlane::top;
    if (d.block.empty() || !in_drawing_plane(c, target, plane)) {
        return;
    }
    BlockReference r;
    r.block = dxf_upper(d.block);
    r.at = Point{d.x, d.y};
    r.scale_x = d.scale_x;
    r.scale_y = d.scale_y;
    r.rotation = d.rotation;
    r.columns = d.columns;
    r.rows = d.rows;
    r.column_spacing = d.column_spacing;
    r.row_spacing = d.row_spacing;
    r.mirrored = plane == EntityPlane::mirrored;
    GeometryShape shape;
    shape.kind = GeometryShapeKind::insert;
    shape.head = geometry_.add_head(head_of(c, false));
    shape.index = geometry_.add_reference(std::move(r));
    geometry_.add(shape);
}

void EntityMapper::map_ellipse(const EntityCommon& c, Target target, const EllipseData& d) {
    // Centre and axis are in drawing coordinates; the extrusion only says
    // which way the parameter turns.
    EntityPlane plane = EntityPlane::top;
    if (!in_drawing_plane(c, target, plane)) {
        return;
    }
    GeometryShape shape;
    shape.kind = GeometryShapeKind::ellipse;
    shape.centre = Point{d.x, d.y};
    shape.u = Point{d.major_x, d.major_y};
    const double turn = c.extrusion_z < 0.0 ? -1.0 : 1.0;
    shape.v = Point{-turn * d.ratio * d.major_y, turn * d.ratio * d.major_x};
    double sweep = std::fmod(d.end - d.start, kTwoPi);
    if (sweep <= 1e-12) {
        sweep += kTwoPi;
    }
    shape.start = d.start;
    shape.end = d.start + sweep;
    geometry_.add(shape);
    const bool full = sweep >= kTwoPi - 1e-9;
    if (full && std::fabs(std::fabs(d.ratio) - 1.0) <= kCircularRatio) {
        GeometryShape round;
        round.kind = GeometryShapeKind::round_outline;
        round.index = static_cast<int>(RoundOutline::circular_ellipse);
        geometry_.add(round);
    } else if (!full) {
        auto at = [&](double t) {
            return Point{shape.centre.x + shape.u.x * std::cos(t) + shape.v.x * std::sin(t),
                         shape.centre.y + shape.u.y * std::cos(t) + shape.v.y * std::sin(t)};
        };
        GeometryShape ends;
        ends.kind = GeometryShapeKind::ends;
        ends.a = at(shape.start);
        ends.b = at(shape.end);
        geometry_.add(ends);
    }
}

void EntityMapper::map_spline(const SplineData& d) {
    std::vector<Point> control;
    for (const DxfVertex& v : decoder_.vertices()) {
        control.push_back(v.at);
    }
    const std::vector<Point>& fit = decoder_.fit_points();
    // The curve lies within its control points and passes its fit points.
    for (const std::vector<Point>* points :
         std::initializer_list<const std::vector<Point>*>{&control, &fit}) {
        for (const Point& p : *points) {
            geometry_.add_point(p);
        }
    }
    std::vector<Point> on_curve = fit.size() >= 2 ? fit : control;
    if (on_curve.size() < 2) {
        return;
    }
    const bool repeats = distance_between(on_curve.front(), on_curve.back()) <= 0.0;
    if (!((d.flags & kClosed) != 0 || repeats)) {
        GeometryShape ends;
        ends.kind = GeometryShapeKind::ends;
        ends.a = on_curve.front();
        ends.b = on_curve.back();
        geometry_.add(ends);
        return;
    }
    if (repeats) {
        on_curve.pop_back();
    }
    if (on_one_circle(on_curve)) {
        GeometryShape round;
        round.kind = GeometryShapeKind::round_outline;
        round.index = static_cast<int>(RoundOutline::closed_spline);
        geometry_.add(round);
    }
}

void EntityMapper::start_polyline(const EntityCommon& c, Target target, int flags) {
    if (target == Target::none || (flags & kMeshes) != 0) {
        return;
    }
    // A 3D polyline has its vertices in drawing coordinates.
    const EntityPlane plane =
        (flags & kPolyline3d) != 0 ? EntityPlane::top : plane_of_entity(c, target);
    if (plane == EntityPlane::tilted) {
        return;
    }
    polyline_ = PendingPolyline{};
    polyline_.open = true;
    polyline_.model = target == Target::model;
    polyline_.head = head_of(c, polyline_.model);
    polyline_.closed = (flags & kClosed) != 0;
    polyline_.plane = plane;
}

void EntityMapper::flush_polyline() {
    if (!polyline_.open) {
        return;
    }
    PendingPolyline p = std::move(polyline_);
    polyline_ = PendingPolyline{};
    const std::size_t n = p.vertices.size();
    // The polyline took the next number when it began and nothing has been
    // numbered since: its segments are numbered on from there.
    if (p.model) {
        next_id_ = p.head.head.id - 1;
    }
    if (n < 2) {
        return;
    }
    const int head = geometry_.add_head(p.head);
    bool straight = true;
    for (std::size_t i = 0; i + 1 < n; ++i) {
        straight = !add_segment(p, head, p.vertices[i], p.vertices[i + 1]) && straight;
    }
    // The closing segment, unless the last vertex repeats the first.
    const bool repeats = distance_between(p.vertices[n - 1].at, p.vertices[0].at) <= 0.0;
    if (p.closed && !repeats) {
        straight = !add_segment(p, head, p.vertices[n - 1], p.vertices[0]) && straight;
    }
    if (straight && (p.closed || repeats)) {
        add_if_faceted(p.vertices, repeats ? n - 1 : n);
    }
}

bool EntityMapper::add_segment(const PendingPolyline& p, int head, const DxfVertex& from,
                               const DxfVertex& to) {
    RecordHead record = p.head.head;
    if (p.model) {
        record.id = ++next_id_;
    }
    GeometryShape shape;
    shape.a = from.at;
    shape.b = to.at;
    BulgeArc arc{};
    if (!bulge_arc(from.at, to.at, from.bulge, arc)) {
        shape.kind = GeometryShapeKind::line;
        if (p.model) {
            add_line(polyline_line_record(record, from.at, to.at));
        }
        geometry_.add(shape);
        return false;
    }
    shape.kind = GeometryShapeKind::bulge_arc;
    shape.head = head;
    shape.centre = arc.centre;
    shape.radius = arc.radius;
    shape.start = arc.start;
    shape.end = arc.end;
    shape.bulge = from.bulge;
    if (p.model) {
        shape.line = add_line(polyline_arc_record(record, from.at, to.at, from.bulge, arc));
    }
    geometry_.add(shape);
    return true;
}

void EntityMapper::add_if_faceted(const std::vector<DxfVertex>& vertices, std::size_t corners) {
    // A closed outline of many straight sides on one circle: a faceted
    // circle, which looks like a hole but is not charted.
    if (corners < kFacetedCorners) {
        return;
    }
    std::vector<Point> points;
    for (std::size_t i = 0; i < corners; ++i) {
        points.push_back(vertices[i].at);
    }
    if (on_one_circle(points)) {
        GeometryShape shape;
        shape.kind = GeometryShapeKind::round_outline;
        shape.index = static_cast<int>(RoundOutline::faceted_polygon);
        geometry_.add(shape);
    }
}

}  // namespace holechart_dxf
