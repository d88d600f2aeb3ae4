// The drawing's entities as exchange-file lines, from what dxflib reports
// while it reads a DXF file: model-space entities only, in the drawing
// plane, with their layer's colour and line type where they go by layer and
// the hole tag from their extended data. Beside them, the geometry of
// model space and of every block (drawing_geometry), for finding holes in
// block references and the drawing's extent.
#pragma once

#include <dxflib/dl_creationadapter.h>

#include <map>
#include <string>
#include <vector>

#include "tools/holechart_dxf/drawing_geometry.hpp"
#include "tools/holechart_dxf/dxf_geometry.hpp"
#include "tools/holechart_dxf/dxf_reader.hpp"
#include "tools/holechart_dxf/dxf_structure.hpp"
#include "tools/holechart_dxf/exchange_lines.hpp"

// A text's characters are estimated as wide as the text is high, which is
// generous, and the lines of a multi-line text 5/3 of its height apart.
constexpr double kCharacterWidth = 1.0;
constexpr double kLineSpacing = 5.0 / 3.0;

class EntityMapper final : public DL_CreationAdapter {
  public:
    explicit EntityMapper(DxfDrawing& drawing) : drawing_(drawing) {}

    DxfStructure structure;

    // After the last pair: ends the polyline still open and fills the
    // layout.
    void finish();
    // An object has ended: the points of an entity of a kind the library
    // does not report (MLINE, MLEADER, WIPEOUT, TOLERANCE, tables ...)
    // widen the extent.
    void take_other_kind(const DxfObject& object);

    void addLayer(const DL_LayerData& data) override;
    void addXDataApp(const std::string& application) override;
    void addXDataString(int code, const std::string& value) override;
    void addMTextChunk(const std::string& text) override;

    void addLine(const DL_LineData& data) override;
    void addArc(const DL_ArcData& data) override;
    void addCircle(const DL_CircleData& data) override;
    void addText(const DL_TextData& data) override;
    void addMText(const DL_MTextData& data) override;
    void addAttribute(const DL_AttributeData& data) override;
    void addPoint(const DL_PointData& data) override;
    void addSolid(const DL_SolidData& data) override;
    void addTrace(const DL_TraceData& data) override;
    void add3dFace(const DL_3dFaceData& data) override;
    void addPolyline(const DL_PolylineData& data) override;
    void addVertex(const DL_VertexData& data) override;
    void endSequence() override { flush_pending(); }
    void addBlock(const DL_BlockData& data) override;
    void endBlock() override;
    void addInsert(const DL_InsertData& data) override;
    void addEllipse(const DL_EllipseData& data) override;
    void addSpline(const DL_SplineData& data) override;
    void addControlPoint(const DL_ControlPointData& data) override;
    void addFitPoint(const DL_FitPointData& data) override;
    void addHatch(const DL_HatchData& data) override;
    void addHatchEdge(const DL_HatchEdgeData& data) override;
    void addLeader(const DL_LeaderData& data) override;
    void addLeaderVertex(const DL_LeaderVertexData& data) override;
    void addImage(const DL_ImageData& data) override;

    void addDimLinear(const DL_DimensionData& data, const DL_DimLinearData& edata) override;
    void addDimAlign(const DL_DimensionData& data, const DL_DimAlignedData& edata) override;
    void addDimRadial(const DL_DimensionData& data, const DL_DimRadialData& edata) override;
    void addDimDiametric(const DL_DimensionData& data, const DL_DimDiametricData& edata) override;
    void addDimAngular(const DL_DimensionData& data, const DL_DimAngular2LData& edata) override;
    void addDimAngular3P(const DL_DimensionData& data, const DL_DimAngular3PData& edata) override;
    void addDimOrdinate(const DL_DimensionData& data, const DL_DimOrdinateData& edata) override;

  private:
    struct LayerStyle {
        int color = 7;
        std::string line_type;  // a token
    };
    // Where the entity being reported goes: nowhere, model space (a record
    // and geometry) or the block being defined (geometry only).
    enum class Target { none, model, block };
    // Entities whose parts come in several reports: the parts are taken
    // once the next report shows that the entity has ended.
    struct PendingPolyline {
        bool open = false;
        Target target = Target::none;
        ShapeHead head;
        bool closed = false;
        EntityPlane plane = EntityPlane::top;
        struct Vertex {
            Point at;
            double bulge;
        };
        std::vector<Vertex> vertices;
    };
    struct PendingCurve {
        Target target = Target::none;  // none: nothing pending
        EntityPlane plane = EntityPlane::top;
        bool closed = false;
        std::vector<Point> control;
        std::vector<Point> fit;
    };

    // Where the entity being reported goes. Ends any pending entity before it.
    Target take_entity();
    // The entity's plane; counts the tilted ones of model space.
    EntityPlane entity_plane(Target target);
    // The head of the entity's record; a numbered one takes the next record
    // number.
    ShapeHead head_of_entity(bool numbered);
    int add_line(const std::string& line);
    void flush_pending();
    void flush_polyline();
    void flush_spline();
    void add_dimension(const DL_DimensionData& data, DimensionValues values, Target target);
    // A text's box, estimated from its characters: width along its
    // direction, from -left to width - left; height from bottom to top.
    void add_text_box(Point at, EntityPlane plane, double angle_degrees, double width, double left,
                      double bottom, double top);

    DxfDrawing& drawing_;
    DrawingGeometry& geometry_ = drawing_.geometry;
    std::map<std::string, LayerStyle> layers_;
    PendingPolyline polyline_;
    PendingCurve spline_;
    PendingCurve leader_;
    Target hatch_ = Target::none;
    EntityPlane hatch_plane_ = EntityPlane::top;
    int next_id_ = 0;
};
