#include "tools/holechart_dxf/dxf_entities.hpp"

#include <cmath>
#include <cstdlib>

#include "geometry/geometry.hpp"

void EntityMapper::processCodeValuePair(unsigned int code, const std::string& value) {
    pair_read = true;
    event = take_pair(structure, code, value);
}

void EntityMapper::finish() {
    flush_polyline();
    finish_layout(structure, drawing_.layout);
    for (const auto& layer : layers_) {
        drawing_.layout.layer_names.push_back(layer.first);
    }
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
        structure.current.has_tag = true;
        structure.current.tag = value;
    }
}

void EntityMapper::addMTextChunk(const std::string& text) {
    structure.current.mtext_chunks += text;
}

bool EntityMapper::take_entity() {
    flush_polyline();
    return structure.completing.section == "ENTITIES" && !getAttributes().isInPaperSpace();
}

EntityPlane EntityMapper::entity_plane() {
    const double* d = getExtrusion()->getDirection();
    const EntityPlane plane = plane_of(d[0], d[1], d[2]);
    if (plane == EntityPlane::tilted) {
        drawing_.tilted += 1;
    }
    return plane;
}

RecordHead EntityMapper::head_of_entity() {
    const DL_Attributes attributes = getAttributes();
    RecordHead head;
    head.id = ++next_id_;
    head.handle = token_text(dxf_upper(structure.completing.handle), "0");
    head.layer = token_text(attributes.getLayer(), "0");

    const auto layer = layers_.find(dxf_upper(attributes.getLayer()));
    const int color = attributes.getColor();
    if (color == 256) {
        head.color = layer != layers_.end() ? layer->second.color : 7;
    } else if (color == 0) {
        // BYBLOCK: the format has no colour 0, and writes it as 1.
        head.color = 1;
    } else {
        head.color = std::abs(color);
    }

    const std::string line_type = dxf_upper(attributes.getLinetype());
    if (line_type.empty() || line_type == "BYLAYER") {
        head.line_type = "ByL";
        head.line_style = layer != layers_.end() ? layer->second.line_type : "ByL";
    } else if (line_type == "BYBLOCK") {
        head.line_type = "ByB";
        head.line_style = "ByB";
    } else {
        head.line_type = token_text(attributes.getLinetype(), "ByL");
        head.line_style = head.line_type;
    }
    if (structure.completing.has_tag) {
        head.tag = token_text(structure.completing.tag, "NO");
    }
    return head;
}

void EntityMapper::addLine(const DL_LineData& data) {
    if (!take_entity()) {
        return;
    }
    add_line(line_record(head_of_entity(), Point{data.x1, data.y1}, Point{data.x2, data.y2}));
}

void EntityMapper::addArc(const DL_ArcData& data) {
    if (!take_entity()) {
        return;
    }
    const EntityPlane plane = entity_plane();
    if (plane == EntityPlane::tilted) {
        return;
    }
    const ArcAngles angles = arc_angles_in_drawing(data.angle1, data.angle2, plane);
    add_line(arc_record(head_of_entity(), to_drawing(Point{data.cx, data.cy}, plane), data.radius,
                        angles.start, angles.end));
}

void EntityMapper::addCircle(const DL_CircleData& data) {
    if (!take_entity()) {
        return;
    }
    const EntityPlane plane = entity_plane();
    if (plane == EntityPlane::tilted) {
        return;
    }
    add_line(
        circle_record(head_of_entity(), to_drawing(Point{data.cx, data.cy}, plane), data.radius));
}

void EntityMapper::addText(const DL_TextData& data) {
    if (!take_entity()) {
        return;
    }
    const EntityPlane plane = entity_plane();
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
    std::string justify;
    if (h == 4) {
        justify = "MC";
    } else {
        justify += v == 2 ? 'M' : v == 3 ? 'T' : 'B';
        justify += h == 1 ? 'C' : h == 2 ? 'R' : 'L';
    }
    const Point at = by_first_point ? Point{data.ipx, data.ipy} : Point{data.apx, data.apy};
    // dxflib gives a text's rotation in radians.
    double angle = data.angle * kRadiansToDegrees;
    if (plane == EntityPlane::mirrored) {
        angle = 180.0 - angle;
    }
    add_line(text_record(head_of_entity(), "TEXT", to_drawing(at, plane), data.height,
                         normalise_degrees(angle), justify, text));
}

void EntityMapper::addMText(const DL_MTextData& data) {
    if (!take_entity()) {
        return;
    }
    const EntityPlane plane = entity_plane();
    const std::string text = token_text(structure.completing.mtext_chunks + data.text, "");
    if (plane == EntityPlane::tilted || text.empty()) {
        return;
    }
    static const char* const kAttachments[] = {"TL", "TC", "TR", "ML", "MC",
                                               "MR", "BL", "BC", "BR"};
    const int attachment = data.attachmentPoint;
    const std::string justify =
        attachment >= 1 && attachment <= 9 ? kAttachments[attachment - 1] : "TL";
    // In radians, from the rotation or the direction vector, once the
    // library knows its own version (read_dxf_drawing).
    add_line(text_record(head_of_entity(), "MTEXT", Point{data.ipx, data.ipy}, data.height,
                         normalise_degrees(data.angle * kRadiansToDegrees), justify, text));
}

void EntityMapper::addPoint(const DL_PointData& data) {
    if (!take_entity()) {
        return;
    }
    add_line(point_record(head_of_entity(), Point{data.x, data.y}, structure.point_mode,
                          structure.point_size));
}

void EntityMapper::addSolid(const DL_SolidData& data) {
    if (!take_entity()) {
        return;
    }
    const EntityPlane plane = entity_plane();
    if (plane == EntityPlane::tilted) {
        return;
    }
    Point corners[4];
    for (int i = 0; i < 4; ++i) {
        corners[i] = to_drawing(Point{data.x[i], data.y[i]}, plane);
    }
    add_line(solid_record(head_of_entity(), corners));
}

void EntityMapper::addPolyline(const DL_PolylineData& data) {
    if (!take_entity()) {
        return;
    }
    // Meshes (16) and polyface meshes (64) are surfaces, not outlines.
    if ((data.flags & (16 | 64)) != 0) {
        return;
    }
    // A 3D polyline (8) has its vertices in drawing coordinates.
    const EntityPlane plane = (data.flags & 8) != 0 ? EntityPlane::top : entity_plane();
    if (plane == EntityPlane::tilted) {
        return;
    }
    polyline_ = PendingPolyline{};
    polyline_.open = true;
    polyline_.head = head_of_entity();
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

void EntityMapper::flush_polyline() {
    if (!polyline_.open) {
        return;
    }
    PendingPolyline p = std::move(polyline_);
    polyline_ = PendingPolyline{};
    const std::size_t n = p.vertices.size();
    // The polyline took the next number when it began and nothing has been
    // numbered since: its segments are numbered on from there.
    int id = p.head.id;
    next_id_ = id - 1;
    if (n < 2) {
        return;
    }
    auto add_segment = [&](const PendingPolyline::Vertex& from, const PendingPolyline::Vertex& to) {
        RecordHead head = p.head;
        head.id = id;
        next_id_ = id;
        ++id;
        BulgeArc arc{};
        if (bulge_arc(from.at, to.at, from.bulge, arc)) {
            add_line(polyline_arc_record(head, from.at, to.at, from.bulge, arc));
        } else {
            add_line(polyline_line_record(head, from.at, to.at));
        }
    };
    for (std::size_t i = 0; i + 1 < n; ++i) {
        add_segment(p.vertices[i], p.vertices[i + 1]);
    }
    // The closing segment, unless the last vertex repeats the first.
    if (p.closed && distance_between(p.vertices[n - 1].at, p.vertices[0].at) > 0.0) {
        add_segment(p.vertices[n - 1], p.vertices[0]);
    }
}

void EntityMapper::add_dimension(const DL_DimensionData& data, DimensionValues values) {
    if (entity_plane() == EntityPlane::tilted) {
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
    add_line(dimension_record(head_of_entity(), values));
}

void EntityMapper::addDimLinear(const DL_DimensionData& data, const DL_DimLinearData& edata) {
    if (!take_entity()) {
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
    add_dimension(data, v);
}

void EntityMapper::addDimAlign(const DL_DimensionData& data, const DL_DimAlignedData& edata) {
    if (!take_entity()) {
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
    add_dimension(data, v);
}

void EntityMapper::addDimRadial(const DL_DimensionData& data, const DL_DimRadialData& edata) {
    if (!take_entity()) {
        return;
    }
    // From the centre to the point on the curve.
    DimensionValues v;
    v.p1 = Point{data.dpx, data.dpy};
    v.p2 = Point{edata.dpx, edata.dpy};
    v.p4 = v.p1;
    v.p5 = v.p2;
    v.value = distance_between(v.p1, v.p2);
    add_dimension(data, v);
}

void EntityMapper::addDimDiametric(const DL_DimensionData& data, const DL_DimDiametricData& edata) {
    if (!take_entity()) {
        return;
    }
    // Across the curve, between two opposite points.
    DimensionValues v;
    v.p1 = Point{edata.dpx, edata.dpy};
    v.p2 = Point{data.dpx, data.dpy};
    v.p4 = v.p1;
    v.p5 = v.p2;
    v.value = distance_between(v.p1, v.p2);
    add_dimension(data, v);
}

void EntityMapper::addDimAngular(const DL_DimensionData& data, const DL_DimAngular2LData& edata) {
    if (!take_entity()) {
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
    add_dimension(data, v);
}

void EntityMapper::addDimAngular3P(const DL_DimensionData& data, const DL_DimAngular3PData& edata) {
    if (!take_entity()) {
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
    add_dimension(data, v);
}

void EntityMapper::addDimOrdinate(const DL_DimensionData& data, const DL_DimOrdinateData& edata) {
    if (!take_entity()) {
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
    add_dimension(data, v);
}
