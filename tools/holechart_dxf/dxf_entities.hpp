// The drawing's entities as exchange-file lines, from what dxflib reports
// while it reads a DXF file: model-space entities only, in the drawing
// plane, with their layer's colour and line type where they go by layer and
// the hole tag from their extended data.
#pragma once

#include <dxflib/dl_creationadapter.h>

#include <map>
#include <string>
#include <vector>

#include "tools/holechart_dxf/dxf_geometry.hpp"
#include "tools/holechart_dxf/dxf_reader.hpp"
#include "tools/holechart_dxf/dxf_structure.hpp"
#include "tools/holechart_dxf/exchange_lines.hpp"

class EntityMapper final : public DL_CreationAdapter {
  public:
    explicit EntityMapper(DxfDrawing& drawing) : drawing_(drawing) {}

    DxfStructure structure;
    // Whether the last read took a pair, and what that pair meant.
    bool pair_read = false;
    PairEvent event = PairEvent::none;

    // After the last pair: ends the polyline still open and fills the
    // layout.
    void finish();

    void processCodeValuePair(unsigned int code, const std::string& value) override;
    void addLayer(const DL_LayerData& data) override;
    void addXDataApp(const std::string& application) override;
    void addXDataString(int code, const std::string& value) override;
    void addMTextChunk(const std::string& text) override;

    void addLine(const DL_LineData& data) override;
    void addArc(const DL_ArcData& data) override;
    void addCircle(const DL_CircleData& data) override;
    void addText(const DL_TextData& data) override;
    void addMText(const DL_MTextData& data) override;
    void addPoint(const DL_PointData& data) override;
    void addSolid(const DL_SolidData& data) override;
    void addPolyline(const DL_PolylineData& data) override;
    void addVertex(const DL_VertexData& data) override;
    void endSequence() override { flush_polyline(); }
    void addBlock(const DL_BlockData&) override { flush_polyline(); }
    void endBlock() override { flush_polyline(); }

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
    // A polyline's vertices come one report at a time: the segments are
    // made once the next report shows that the polyline has ended.
    struct PendingPolyline {
        bool open = false;
        RecordHead head;
        bool closed = false;
        EntityPlane plane = EntityPlane::top;
        struct Vertex {
            Point at;
            double bulge;
        };
        std::vector<Vertex> vertices;
    };

    // Whether the entity being reported is one of the drawing's: in the
    // ENTITIES section and in model space. Ends any polyline before it.
    bool take_entity();
    // The entity's plane; counts the tilted ones.
    EntityPlane entity_plane();
    // The head of the entity's record; takes the next record number.
    RecordHead head_of_entity();
    void add_line(const std::string& line) { drawing_.lines.push_back(line); }
    void flush_polyline();
    void add_dimension(const DL_DimensionData& data, DimensionValues values);

    DxfDrawing& drawing_;
    std::map<std::string, LayerStyle> layers_;
    PendingPolyline polyline_;
    int next_id_ = 0;
};
