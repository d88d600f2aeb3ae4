// What the bridge reads of each kind of DXF object, and from which group
// codes: one table per kind, a field per line, in the order DXF writes
// them. A field whose group code is missing keeps the default given here.
// Repeated groups (a polyline's vertices, a spline's points) are not in
// these tables: the decoder collects them as they come.
#pragma once

#include <cmath>
#include <string_view>

namespace holechart_dxf {

// Where a group code's value goes in a kind's data, and as what.
template <typename Data>
struct GroupCode {
    int code;
    double Data::*real = nullptr;
    int Data::*integer = nullptr;
    std::string_view Data::*text = nullptr;

    constexpr GroupCode(int c, double Data::*field) : code(c), real(field) {}
    constexpr GroupCode(int c, int Data::*field) : code(c), integer(field) {}
    constexpr GroupCode(int c, std::string_view Data::*field) : code(c), text(field) {}
};

// What every entity may carry.
struct EntityCommon {
    std::string_view handle;
    std::string_view layer = "0";
    std::string_view line_type = "BYLAYER";
    int color = 256;  // 256 BYLAYER, 0 BYBLOCK
    int paper_space = 0;
    double extrusion_x = 0.0;
    double extrusion_y = 0.0;
    double extrusion_z = 1.0;
};
constexpr GroupCode<EntityCommon> kEntityCommonCodes[] = {
    {5, &EntityCommon::handle},        {8, &EntityCommon::layer},
    {6, &EntityCommon::line_type},     {62, &EntityCommon::color},
    {67, &EntityCommon::paper_space},  {210, &EntityCommon::extrusion_x},
    {220, &EntityCommon::extrusion_y}, {230, &EntityCommon::extrusion_z},
};

struct LayerData {
    std::string_view name;
    int color = 256;  // negative: the layer is off
    std::string_view line_type = "BYLAYER";
};
constexpr GroupCode<LayerData> kLayerCodes[] = {
    {2, &LayerData::name},
    {62, &LayerData::color},
    {6, &LayerData::line_type},
};

struct BlockData {
    std::string_view name;
    double base_x = 0.0;
    double base_y = 0.0;
};
constexpr GroupCode<BlockData> kBlockCodes[] = {
    {2, &BlockData::name},
    {10, &BlockData::base_x},
    {20, &BlockData::base_y},
};

struct LineData {
    double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0;
};
constexpr GroupCode<LineData> kLineCodes[] = {
    {10, &LineData::x1}, {20, &LineData::y1}, {11, &LineData::x2}, {21, &LineData::y2}};

struct CircleData {
    double x = 0.0, y = 0.0, radius = 0.0;
    double start = 0.0, end = 0.0;  // an arc's, degrees
};
constexpr GroupCode<CircleData> kCircleCodes[] = {
    {10, &CircleData::x},
    {20, &CircleData::y},
    {40, &CircleData::radius},
};
constexpr GroupCode<CircleData> kArcCodes[] = {
    {10, &CircleData::x},     {20, &CircleData::y},   {40, &CircleData::radius},
    {50, &CircleData::start}, {51, &CircleData::end},
};

// TEXT and ATTRIB. The second point places a text that is not left on the
// baseline; a text without one is placed by its first.
struct TextData {
    double x = 0.0, y = 0.0;
    double second_x = NAN, second_y = NAN;
    double height = 2.5;
    double width_factor = 1.0;
    double angle = 0.0;  // degrees
    int horizontal = 0;  // 0 left, 1 centre, 2 right, 3 aligned, 4 middle, 5 fit
    int vertical = 0;    // 0 baseline, 1 bottom, 2 middle, 3 top
    std::string_view text;
};
// The groups of a text, or of an attribute (one code apart): the group of
// the vertical justification is 73 in a TEXT and 74 in an ATTRIB.
template <int vertical_code>
constexpr GroupCode<TextData> kTextLikeCodes[] = {
    {10, &TextData::x},          {20, &TextData::y},
    {40, &TextData::height},     {1, &TextData::text},
    {50, &TextData::angle},      {41, &TextData::width_factor},
    {72, &TextData::horizontal}, {11, &TextData::second_x},
    {21, &TextData::second_y},   {vertical_code, &TextData::vertical},
};
inline constexpr const auto& kTextCodes = kTextLikeCodes<73>;
inline constexpr const auto& kAttributeCodes = kTextLikeCodes<74>;

// MTEXT. Its text is the parts of group 3 and then group 1 (the decoder
// joins them); its rotation is group 50, or else the direction of its x
// axis, groups 11 and 21.
struct MTextData {
    double x = 0.0, y = 0.0;
    double height = 2.5;
    double width = 0.0;  // the reference width that wraps lines; 0: none
    int attachment = 1;  // 1 top left ... 9 bottom right
    double angle = NAN;  // degrees
    double direction_x = NAN, direction_y = NAN;
};
constexpr GroupCode<MTextData> kMTextCodes[] = {
    {10, &MTextData::x},           {20, &MTextData::y},          {40, &MTextData::height},
    {41, &MTextData::width},       {71, &MTextData::attachment}, {11, &MTextData::direction_x},
    {21, &MTextData::direction_y}, {50, &MTextData::angle},
};

struct PointData {
    double x = 0.0, y = 0.0;
};
constexpr GroupCode<PointData> kPointCodes[] = {
    {10, &PointData::x},
    {20, &PointData::y},
};

// SOLID, TRACE and 3DFACE.
struct CornerData {
    double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0, x3 = 0.0, y3 = 0.0, x4 = 0.0, y4 = 0.0;
};
constexpr GroupCode<CornerData> kCornerCodes[] = {
    {10, &CornerData::x1}, {20, &CornerData::y1}, {11, &CornerData::x2}, {21, &CornerData::y2},
    {12, &CornerData::x3}, {22, &CornerData::y3}, {13, &CornerData::x4}, {23, &CornerData::y4},
};

// POLYLINE and LWPOLYLINE (whose vertices the decoder collects), VERTEX.
struct PolylineData {
    int flags = 0;  // 1 closed, 8 3D, 16 mesh, 64 polyface mesh
};
constexpr GroupCode<PolylineData> kPolylineCodes[] = {
    {70, &PolylineData::flags},
};
struct VertexData {
    double x = 0.0, y = 0.0, bulge = 0.0;
    int flags = 0;  // 128 without 64: a polyface mesh's face, no vertex
};
constexpr GroupCode<VertexData> kVertexCodes[] = {
    {10, &VertexData::x}, {20, &VertexData::y}, {42, &VertexData::bulge}, {70, &VertexData::flags}};

struct InsertData {
    std::string_view block;
    double x = 0.0, y = 0.0;
    double scale_x = 1.0, scale_y = 1.0;
    double rotation = 0.0;  // degrees
    int columns = 1, rows = 1;
    double column_spacing = 0.0, row_spacing = 0.0;
};
constexpr GroupCode<InsertData> kInsertCodes[] = {
    {2, &InsertData::block},        {10, &InsertData::x},       {20, &InsertData::y},
    {41, &InsertData::scale_x},     {42, &InsertData::scale_y}, {50, &InsertData::rotation},
    {70, &InsertData::columns},     {71, &InsertData::rows},    {44, &InsertData::column_spacing},
    {45, &InsertData::row_spacing},
};

// The centre, the major axis from it, the minor axis as a share of it, and
// the parameters (radians) of the ends.
struct EllipseData {
    double x = 0.0, y = 0.0;
    double major_x = 0.0, major_y = 0.0;
    double ratio = 1.0;
    double start = 0.0;
    double end = 6.283185307179586;
};
constexpr GroupCode<EllipseData> kEllipseCodes[] = {
    {10, &EllipseData::x},       {20, &EllipseData::y},     {11, &EllipseData::major_x},
    {21, &EllipseData::major_y}, {40, &EllipseData::ratio}, {41, &EllipseData::start},
    {42, &EllipseData::end},
};

// SPLINE (whose control and fit points the decoder collects).
struct SplineData {
    int flags = 0;  // 1 closed
};
constexpr GroupCode<SplineData> kSplineCodes[] = {
    {70, &SplineData::flags},
};

struct ImageData {
    double x = 0.0, y = 0.0;
    double u_x = 1.0, u_y = 0.0;       // one pixel along the width
    double v_x = 0.0, v_y = 1.0;       // one pixel along the height
    double width = 1.0, height = 1.0;  // in pixels
};
constexpr GroupCode<ImageData> kImageCodes[] = {
    {10, &ImageData::x},   {20, &ImageData::y},   {11, &ImageData::u_x},   {21, &ImageData::u_y},
    {12, &ImageData::v_x}, {22, &ImageData::v_y}, {13, &ImageData::width}, {23, &ImageData::height},
};

// DIMENSION: the points of every type; which ones a type uses, and how, is
// the dimension geometry's (dxf_geometry).
struct DimensionData {
    std::string_view block;  // its picture
    std::string_view style;
    std::string_view text;
    int type = 0;                 // 0 to 6 in the low bits; 64: an ordinate of x
    double x10 = 0.0, y10 = 0.0;  // the definition point
    double x11 = 0.0, y11 = 0.0;  // the text's middle
    double x13 = 0.0, y13 = 0.0;
    double x14 = 0.0, y14 = 0.0;
    double x15 = 0.0, y15 = 0.0;
    double x16 = 0.0, y16 = 0.0;
    double angle = 0.0;       // 50: of a rotated linear dimension
    double text_angle = 0.0;  // 53
};
constexpr GroupCode<DimensionData> kDimensionCodes[] = {
    {2, &DimensionData::block}, {3, &DimensionData::style},  {1, &DimensionData::text},
    {70, &DimensionData::type}, {10, &DimensionData::x10},   {20, &DimensionData::y10},
    {11, &DimensionData::x11},  {21, &DimensionData::y11},   {13, &DimensionData::x13},
    {23, &DimensionData::y13},  {14, &DimensionData::x14},   {24, &DimensionData::y14},
    {15, &DimensionData::x15},  {25, &DimensionData::y15},   {16, &DimensionData::x16},
    {26, &DimensionData::y16},  {50, &DimensionData::angle}, {53, &DimensionData::text_angle},
};

}  // namespace holechart_dxf
