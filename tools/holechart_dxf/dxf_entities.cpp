#include "tools/holechart_dxf/dxf_entities.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "geometry/geometry.hpp"

namespace {

// A closed polyline of at least this many straight segments whose corners
// lie on one circle looks round.
constexpr std::size_t kFacetedCorners = 8;

// The lines of a multi-line text: at "\P" and line ends.
std::vector<std::size_t> paragraph_lengths(const std::string& text) {
    std::vector<std::size_t> lengths(1, 0);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'P')) {
            i += text[i] == '\\' ? 1 : 0;
            lengths.push_back(0);
        } else {
            lengths.back() += 1;
        }
    }
    return lengths;
}

}  // namespace

void EntityMapper::finish() {
    flush_pending();
    finish_layout(structure, drawing_.layout);
    for (const auto& layer : layers_) {
        drawing_.layout.layer_names.push_back(layer.first);
    }
    drawing_.insertion_units = structure.insertion_units;
    drawing_.measurement = structure.measurement;
}

void EntityMapper::addLayer(const DL_LayerData& data) {
    LayerStyle style;
    const int color = std::abs(getAttributes().getColor());
    style.color = color >= 1 && color <= 255 ? color : 7;
    style.line_type = token_text(getAttributes().getLinetype(), "ByL");
    layers_[dxf_upper(data.name)] = style;
}

void EntityMapper::addXDataApp(const std::string& application) {
    structure.current.in_tag_application = dxf_upper(application) == kTagApplication;
}

void EntityMapper::addXDataString(int code, const std::string& value) {
    if (code == 1000 && structure.current.in_tag_application && !structure.current.has_tag) {
        // Blanks around a tag are no part of it.
        const std::size_t first = value.find_first_not_of(" \t");
        const std::size_t last = value.find_last_not_of(" \t");
        structure.current.has_tag = true;
        structure.current.tag =
            first == std::string::npos ? std::string() : value.substr(first, last - first + 1);
    }
}

void EntityMapper::addMTextChunk(const std::string& text) {
    structure.current.mtext_chunks += text;
}

void EntityMapper::addBlock(const DL_BlockData& data) {
    flush_pending();
    geometry_.begin_block(dxf_upper(data.name), Point{data.bpx, data.bpy});
}

void EntityMapper::endBlock() {
    flush_pending();
    geometry_.end_block();
}

EntityMapper::Target EntityMapper::take_entity() {
    flush_pending();
    const DxfObject& entity = structure.completing;
    if (entity.section == "ENTITIES") {
        // The chart of an earlier run is replaced, not charted.
        return entity.chart_mark || getAttributes().isInPaperSpace() ? Target::none : Target::model;
    }
    return entity.section == "BLOCKS" && geometry_.in_block() ? Target::block : Target::none;
}

EntityPlane EntityMapper::entity_plane(Target target) {
    const double* d = getExtrusion()->getDirection();
    const EntityPlane plane = plane_of(d[0], d[1], d[2]);
    if (plane == EntityPlane::tilted && target == Target::model) {
        drawing_.tilted += 1;
    }
    return plane;
}

ShapeHead EntityMapper::head_of_entity(bool numbered) {
    const DL_Attributes attributes = getAttributes();
    ShapeHead shape;
    RecordHead& head = shape.head;
    head.id = numbered ? ++next_id_ : 0;
    head.handle = token_text(dxf_upper(structure.completing.handle), "0");
    head.layer = token_text(attributes.getLayer(), "0");
    shape.layer_zero = dxf_upper(attributes.getLayer()) == "0";

    const auto layer = layers_.find(dxf_upper(attributes.getLayer()));
    shape.layer_color = layer != layers_.end() ? layer->second.color : 7;
    shape.layer_line_type = layer != layers_.end() ? layer->second.line_type : "ByL";
    const int color = attributes.getColor();
    if (color == 256) {
        head.color = shape.layer_color;
        shape.color_by_layer = true;
    } else if (color == 0) {
        // BYBLOCK: the format has no colour 0, and writes it as 1.
        head.color = 1;
        shape.color_by_block = true;
    } else {
        head.color = std::abs(color);
    }

    const std::string line_type = dxf_upper(attributes.getLinetype());
    if (line_type.empty() || line_type == "BYLAYER") {
        head.line_type = "ByL";
        head.line_style = shape.layer_line_type;
        shape.line_type_by_layer = true;
    } else if (line_type == "BYBLOCK") {
        head.line_type = "ByB";
        head.line_style = "ByB";
        shape.line_type_by_block = true;
    } else {
        head.line_type = token_text(attributes.getLinetype(), "ByL");
        head.line_style = head.line_type;
    }
    if (structure.completing.has_tag) {
        head.tag = token_text(structure.completing.tag, "NO");
    }
    return shape;
}

int EntityMapper::add_line(const std::string& line) {
    drawing_.lines.push_back(line);
    return static_cast<int>(drawing_.lines.size()) - 1;
}

void EntityMapper::addLine(const DL_LineData& data) {
    const Target target = take_entity();
    if (target == Target::none) {
        return;
    }
    const Point a{data.x1, data.y1};
    const Point b{data.x2, data.y2};
    if (target == Target::model) {
        add_line(line_record(head_of_entity(true).head, a, b));
    }
    geometry_.add_line(a, b);
}

void EntityMapper::addArc(const DL_ArcData& data) {
    const Target target = take_entity();
    if (target == Target::none) {
        return;
    }
    const EntityPlane plane = entity_plane(target);
    if (plane == EntityPlane::tilted) {
        return;
    }
    const ArcAngles angles = arc_angles_in_drawing(data.angle1, data.angle2, plane);
    Shape shape;
    shape.kind = ShapeKind::arc;
    shape.centre = to_drawing(Point{data.cx, data.cy}, plane);
    shape.radius = data.radius;
    shape.start = angles.start;
    shape.end = angles.end;
    ShapeHead head = head_of_entity(target == Target::model);
    if (target == Target::model) {
        shape.line =
            add_line(arc_record(head.head, shape.centre, shape.radius, shape.start, shape.end));
    }
    shape.head = geometry_.add_head(std::move(head));
    geometry_.add(shape);
}

void EntityMapper::addCircle(const DL_CircleData& data) {
    const Target target = take_entity();
    if (target == Target::none) {
        return;
    }
    const EntityPlane plane = entity_plane(target);
    if (plane == EntityPlane::tilted) {
        return;
    }
    Shape shape;
    shape.kind = ShapeKind::circle;
    shape.centre = to_drawing(Point{data.cx, data.cy}, plane);
    shape.radius = data.radius;
    ShapeHead head = head_of_entity(target == Target::model);
    if (target == Target::model) {
        shape.line = add_line(circle_record(head.head, shape.centre, shape.radius));
    }
    shape.head = geometry_.add_head(std::move(head));
    geometry_.add(shape);
}

void EntityMapper::addText(const DL_TextData& data) {
    const Target target = take_entity();
    if (target == Target::none) {
        return;
    }
    const EntityPlane plane = entity_plane(target);
    const std::string text = token_text(data.text, "");
    // A text without characters shows nothing, and the format cannot carry it.
    if (plane == EntityPlane::tilted || text.empty()) {
        return;
    }
    // Horizontal 0 left, 1 centre, 2 right, 3 aligned, 4 middle, 5 fit;
    // vertical 0 baseline, 1 bottom, 2 middle, 3 top. Only left-baseline,
    // aligned and fit texts are placed by their first point.
    const int h = data.hJustification;
    const int v = data.vJustification;
    const bool by_first_point = (h == 0 && v == 0) || h == 3 || h == 5;
    const Point own = by_first_point ? Point{data.ipx, data.ipy} : Point{data.apx, data.apy};
    // dxflib gives a text's rotation in radians.
    const double own_angle = data.angle * kRadiansToDegrees;
    if (target == Target::model) {
        std::string justify;
        if (h == 4) {
            justify = "MC";
        } else {
            justify += v == 2 ? 'M' : v == 3 ? 'T' : 'B';
            justify += h == 1 ? 'C' : h == 2 ? 'R' : 'L';
        }
        const double angle = plane == EntityPlane::mirrored ? 180.0 - own_angle : own_angle;
        add_line(text_record(head_of_entity(true).head, "TEXT", to_drawing(own, plane), data.height,
                             normalise_degrees(angle), justify, text));
    }
    // The box: aligned and fit texts fill the way between their two points.
    const double factor = data.xScaleFactor > 0.0 ? data.xScaleFactor : 1.0;
    const std::size_t chars = std::max(data.text.size(), structure.completing.text_chars);
    double width = static_cast<double>(chars) * kCharacterWidth * data.height * factor;
    if (h == 3 || h == 5) {
        width = std::fmax(width, distance_between(Point{data.ipx, data.ipy}, own));
    }
    const double left = h == 1 || h == 4 ? width / 2.0 : h == 2 ? width : 0.0;
    const double hh = data.height;
    const double bottom = v == 3 ? -1.3 * hh : v == 2 || h == 4 ? -0.65 * hh : -0.3 * hh;
    const double top = v == 3 ? 0.0 : v == 2 || h == 4 ? 0.65 * hh : hh;
    add_text_box(by_first_point ? Point{data.ipx, data.ipy} : own, plane, own_angle, width, left,
                 bottom, top);
}

void EntityMapper::addMText(const DL_MTextData& data) {
    const Target target = take_entity();
    if (target == Target::none) {
        return;
    }
    const EntityPlane plane = entity_plane(target);
    const std::string whole = structure.completing.mtext_chunks + data.text;
    const std::string text = token_text(whole, "");
    if (plane == EntityPlane::tilted || text.empty()) {
        return;
    }
    static const char* const kAttachments[] = {"TL", "TC", "TR", "ML", "MC",
                                               "MR", "BL", "BC", "BR"};
    const int attachment =
        data.attachmentPoint >= 1 && data.attachmentPoint <= 9 ? data.attachmentPoint : 1;
    // In radians, from the rotation or the direction vector, once the
    // library knows its own version (read_dxf_drawing).
    const double angle = normalise_degrees(data.angle * kRadiansToDegrees);
    if (target == Target::model) {
        add_line(text_record(head_of_entity(true).head, "MTEXT", Point{data.ipx, data.ipy},
                             data.height, angle, kAttachments[attachment - 1], text));
    }
    // The box: as wide as its reference width, which wraps the lines, or
    // as its longest line; as high as its lines.
    double width = 0.0;
    double lines = 0.0;
    std::vector<std::size_t> lengths = paragraph_lengths(whole);
    // What the library got cut counts to the longest line.
    if (structure.completing.text_chars > whole.size()) {
        *std::max_element(lengths.begin(), lengths.end()) +=
            structure.completing.text_chars - whole.size();
    }
    for (const std::size_t length : lengths) {
        const double natural = static_cast<double>(length) * kCharacterWidth * data.height;
        if (data.width > 0.0) {
            lines += std::fmax(1.0, std::ceil(natural / data.width));
        } else {
            lines += 1.0;
            width = std::fmax(width, natural);
        }
    }
    if (data.width > 0.0) {
        width = data.width;
    }
    const double height = lines * data.height * kLineSpacing;
    const int column = (attachment - 1) % 3;
    const int row = (attachment - 1) / 3;
    const double left = width * 0.5 * column;
    const double top = height * 0.5 * row;
    add_text_box(Point{data.ipx, data.ipy}, plane, angle, width, left, top - height, top);
}

void EntityMapper::addPoint(const DL_PointData& data) {
    const Target target = take_entity();
    if (target == Target::none) {
        return;
    }
    if (target == Target::model) {
        add_line(point_record(head_of_entity(true).head, Point{data.x, data.y},
                              structure.point_mode, structure.point_size));
    }
    geometry_.add_point(Point{data.x, data.y});
}

void EntityMapper::addSolid(const DL_SolidData& data) {
    const Target target = take_entity();
    if (target == Target::none) {
        return;
    }
    const EntityPlane plane = entity_plane(target);
    if (plane == EntityPlane::tilted) {
        return;
    }
    Point corners[4];
    for (int i = 0; i < 4; ++i) {
        corners[i] = to_drawing(Point{data.x[i], data.y[i]}, plane);
        geometry_.add_point(corners[i]);
    }
    if (target == Target::model) {
        add_line(solid_record(head_of_entity(true).head, corners));
    }
}

void EntityMapper::addPolyline(const DL_PolylineData& data) {
    const Target target = take_entity();
    if (target == Target::none) {
        return;
    }
    // Meshes (16) and polyface meshes (64) are surfaces, not outlines.
    if ((data.flags & (16 | 64)) != 0) {
        return;
    }
    // A 3D polyline (8) has its vertices in drawing coordinates.
    const EntityPlane plane = (data.flags & 8) != 0 ? EntityPlane::top : entity_plane(target);
    if (plane == EntityPlane::tilted) {
        return;
    }
    polyline_ = PendingPolyline{};
    polyline_.open = true;
    polyline_.target = target;
    polyline_.head = head_of_entity(target == Target::model);
    polyline_.closed = (data.flags & 1) != 0;
    polyline_.plane = plane;
}

void EntityMapper::addVertex(const DL_VertexData& data) {
    if (!polyline_.open) {
        return;
    }
    const bool mirrored = polyline_.plane == EntityPlane::mirrored;
    polyline_.vertices.push_back(PendingPolyline::Vertex{
        to_drawing(Point{data.x, data.y}, polyline_.plane), mirrored ? -data.bulge : data.bulge});
}

void EntityMapper::flush_pending() {
    flush_polyline();
    flush_spline();
    leader_ = PendingCurve{};
    hatch_ = Target::none;
}

void EntityMapper::flush_polyline() {
    if (!polyline_.open) {
        return;
    }
    PendingPolyline p = std::move(polyline_);
    polyline_ = PendingPolyline{};
    const bool model = p.target == Target::model;
    const std::size_t n = p.vertices.size();
    // The polyline took the next number when it began and nothing has been
    // numbered since: its segments are numbered on from there.
    int id = p.head.head.id;
    if (model) {
        next_id_ = id - 1;
    }
    if (n < 2) {
        return;
    }
    const int head = geometry_.add_head(p.head);
    bool straight = true;
    auto add_segment = [&](const PendingPolyline::Vertex& from, const PendingPolyline::Vertex& to) {
        RecordHead record = p.head.head;
        record.id = id;
        if (model) {
            next_id_ = id;
            ++id;
        }
        Shape shape;
        BulgeArc arc{};
        if (bulge_arc(from.at, to.at, from.bulge, arc)) {
            straight = false;
            shape.kind = ShapeKind::bulge_arc;
            shape.head = head;
            shape.centre = arc.centre;
            shape.radius = arc.radius;
            shape.start = arc.start;
            shape.end = arc.end;
            shape.bulge = from.bulge;
            if (model) {
                shape.line = add_line(polyline_arc_record(record, from.at, to.at, from.bulge, arc));
            }
        } else {
            shape.kind = ShapeKind::line;
            if (model) {
                add_line(polyline_line_record(record, from.at, to.at));
            }
        }
        shape.a = from.at;
        shape.b = to.at;
        geometry_.add(shape);
    };
    for (std::size_t i = 0; i + 1 < n; ++i) {
        add_segment(p.vertices[i], p.vertices[i + 1]);
    }
    // The closing segment, unless the last vertex repeats the first.
    const bool repeats = distance_between(p.vertices[n - 1].at, p.vertices[0].at) <= 0.0;
    if (p.closed && !repeats) {
        add_segment(p.vertices[n - 1], p.vertices[0]);
    }
    // A closed outline of many straight sides on one circle: a faceted
    // circle, which looks like a hole but is not charted.
    const std::size_t corners = repeats ? n - 1 : n;
    if (straight && (p.closed || repeats) && corners >= kFacetedCorners) {
        std::vector<Point> points;
        for (std::size_t i = 0; i < corners; ++i) {
            points.push_back(p.vertices[i].at);
        }
        if (on_one_circle(points)) {
            Shape shape;
            shape.kind = ShapeKind::round_outline;
            shape.index = static_cast<int>(RoundOutline::faceted_polygon);
            geometry_.add(shape);
        }
    }
}

void EntityMapper::addInsert(const DL_InsertData& data) {
    const Target target = take_entity();
    if (target == Target::none) {
        return;
    }
    const EntityPlane plane = entity_plane(target);
    if (plane == EntityPlane::tilted) {
        return;
    }
    BlockReference r;
    r.block = dxf_upper(data.name);
    r.at = Point{data.ipx, data.ipy};
    r.scale_x = data.sx;
    r.scale_y = data.sy;
    r.rotation = data.angle;
    r.columns = data.cols;
    r.rows = data.rows;
    r.column_spacing = data.colSp;
    r.row_spacing = data.rowSp;
    r.mirrored = plane == EntityPlane::mirrored;
    Shape shape;
    shape.kind = ShapeKind::insert;
    shape.head = geometry_.add_head(head_of_entity(false));
    shape.index = geometry_.add_reference(std::move(r));
    geometry_.add(shape);
}

void EntityMapper::add_dimension(const DL_DimensionData& data, DimensionValues values,
                                 Target target) {
    if (entity_plane(target) == EntityPlane::tilted) {
        return;
    }
    values.type = data.type & 7;
    values.style = token_text(data.style, "Standard");
    const double scale = structure.dimension_scale > 0.0 ? structure.dimension_scale : 1.0;
    values.text_height = structure.dimension_text_height * scale;
    values.text_at = Point{data.mpx, data.mpy};
    // A text rotation set on the dimension wins over the direction of its
    // dimension line.
    if (data.angle != 0.0) {
        values.angle = normalise_degrees(data.angle);
    }
    values.text = token_text(data.text, "<>");
    for (const Point& p : {values.p1, values.p2, values.p4, values.p5, values.text_at}) {
        geometry_.add_point(p);
    }
    // Its picture, a block of lines, arrows and texts, widens the extent
    // but holds no holes: a dot arrow is no hole.
    if (!structure.completing.name.empty()) {
        BlockReference r;
        r.block = dxf_upper(structure.completing.name);
        r.extents_only = true;
        Shape shape;
        shape.kind = ShapeKind::insert;
        shape.index = geometry_.add_reference(std::move(r));
        geometry_.add(shape);
    }
    if (target == Target::model) {
        add_line(dimension_record(head_of_entity(true).head, values));
    }
}

void EntityMapper::addDimLinear(const DL_DimensionData& data, const DL_DimLinearData& edata) {
    const Target target = take_entity();
    if (target == Target::none) {
        return;
    }
    DimensionValues v;
    v.p1 = Point{edata.dpx1, edata.dpy1};
    v.p2 = Point{edata.dpx2, edata.dpy2};
    const Point on_line{data.dpx, data.dpy};
    v.p4 = foot_on_line(v.p1, on_line, edata.angle);
    v.p5 = foot_on_line(v.p2, on_line, edata.angle);
    v.value = distance_between(v.p4, v.p5);
    v.angle = normalise_degrees(edata.angle);
    add_dimension(data, v, target);
}

void EntityMapper::addDimAlign(const DL_DimensionData& data, const DL_DimAlignedData& edata) {
    const Target target = take_entity();
    if (target == Target::none) {
        return;
    }
    DimensionValues v;
    v.p1 = Point{edata.epx1, edata.epy1};
    v.p2 = Point{edata.epx2, edata.epy2};
    const double direction = direction_of(v.p1, v.p2);
    const Point on_line{data.dpx, data.dpy};
    v.p4 = foot_on_line(v.p1, on_line, direction);
    v.p5 = foot_on_line(v.p2, on_line, direction);
    v.value = distance_between(v.p1, v.p2);
    v.angle = direction;
    add_dimension(data, v, target);
}

void EntityMapper::addDimRadial(const DL_DimensionData& data, const DL_DimRadialData& edata) {
    const Target target = take_entity();
    if (target == Target::none) {
        return;
    }
    // From the centre to the point on the curve.
    DimensionValues v;
    v.p1 = Point{data.dpx, data.dpy};
    v.p2 = Point{edata.dpx, edata.dpy};
    v.p4 = v.p1;
    v.p5 = v.p2;
    v.value = distance_between(v.p1, v.p2);
    add_dimension(data, v, target);
}

void EntityMapper::addDimDiametric(const DL_DimensionData& data, const DL_DimDiametricData& edata) {
    const Target target = take_entity();
    if (target == Target::none) {
        return;
    }
    // Across the curve, between two opposite points.
    DimensionValues v;
    v.p1 = Point{edata.dpx, edata.dpy};
    v.p2 = Point{data.dpx, data.dpy};
    v.p4 = v.p1;
    v.p5 = v.p2;
    v.value = distance_between(v.p1, v.p2);
    add_dimension(data, v, target);
}

void EntityMapper::addDimAngular(const DL_DimensionData& data, const DL_DimAngular2LData& edata) {
    const Target target = take_entity();
    if (target == Target::none) {
        return;
    }
    // The angle between the line from the first to the second point and the
    // line from the third point to the dimension's definition point.
    DimensionValues v;
    v.p1 = Point{edata.dpx2, edata.dpy2};
    v.p2 = Point{data.dpx, data.dpy};
    v.p4 = v.p1;
    v.p5 = v.p2;
    const double first = direction_of(Point{edata.dpx1, edata.dpy1}, v.p1);
    const double second = direction_of(Point{edata.dpx3, edata.dpy3}, v.p2);
    const double between = normalise_degrees(second - first);
    v.value = between > 180.0 ? 360.0 - between : between;
    add_dimension(data, v, target);
}

void EntityMapper::addDimAngular3P(const DL_DimensionData& data, const DL_DimAngular3PData& edata) {
    const Target target = take_entity();
    if (target == Target::none) {
        return;
    }
    // The angle at the vertex (third point) from the first to the second.
    DimensionValues v;
    v.p1 = Point{edata.dpx1, edata.dpy1};
    v.p2 = Point{edata.dpx2, edata.dpy2};
    v.p4 = v.p1;
    v.p5 = v.p2;
    const Point vertex{edata.dpx3, edata.dpy3};
    v.value = normalise_degrees(direction_of(vertex, v.p2) - direction_of(vertex, v.p1));
    add_dimension(data, v, target);
}

void EntityMapper::addDimOrdinate(const DL_DimensionData& data, const DL_DimOrdinateData& edata) {
    const Target target = take_entity();
    if (target == Target::none) {
        return;
    }
    // From the feature to the end of its leader; the value is the feature's
    // x or y measured from the dimension's origin.
    DimensionValues v;
    v.p1 = Point{edata.dpx1, edata.dpy1};
    v.p2 = Point{edata.dpx2, edata.dpy2};
    v.p4 = v.p1;
    v.p5 = v.p2;
    v.value = edata.xtype ? std::fabs(v.p1.x - data.dpx) : std::fabs(v.p1.y - data.dpy);
    add_dimension(data, v, target);
}
