// Maps a DXF file, pair by pair, to what the bridge needs of it: one
// exchange line per model-space entity in the drawing plane (its layer's
// colour and line type where it goes by layer, the hole tag from its
// extended data), the geometry of model space and of every block (for
// finding holes in block references and the drawing's extent), and the
// layout of the file (where the chart goes, what an earlier chart took).
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "tools/holechart_dxf/dxf_decoder.hpp"
#include "tools/holechart_dxf/dxf_drawing.hpp"
#include "tools/holechart_dxf/dxf_geometry.hpp"
#include "tools/holechart_dxf/dxf_pairs.hpp"
#include "tools/holechart_dxf/dxf_structure.hpp"

namespace holechart_dxf {

class EntityMapper {
  public:
    explicit EntityMapper(DxfDrawing& drawing) : drawing_(drawing) {}

    // Takes the next pair of the file. Returns false with a one-line reason
    // (which names a line, not the file) when the pair shows the file to be
    // damaged.
    bool take_pair(const DxfPair& pair, std::string& error);
    // After the last pair: ends what is still open and fills the layout.
    bool finish(std::string& error);

    // Whether the file began like a DXF file and has reached its EOF.
    bool starts_like_dxf() const { return structure_.starts_like_dxf(); }
    bool first_pair_seen() const { return structure_.first_pair_seen(); }
    bool saw_eof() const { return structure_.saw_eof(); }

  private:
    struct LayerStyle {
        int color = 7;
        std::string line_type;  // a token
    };
    // Where an entity goes: nowhere, model space (a record and geometry) or
    // the block being defined (geometry only).
    enum class Target { none, model, block };
    // A POLYLINE, whose vertices follow as objects of their own.
    struct PendingPolyline {
        bool open = false;
        bool model = false;
        ShapeHead head;
        bool closed = false;
        EntityPlane plane = EntityPlane::top;
        std::vector<DxfVertex> vertices;
    };

    bool complete_object(std::size_t end, std::string& error);
    // Takes the object as an entity of an earlier chart, with the row its
    // mark records; false when it is none.
    bool take_earlier_chart(std::size_t end);
    bool map_object(std::string& error);
    bool map_entity(const EntityCommon& common, std::string& error);
    bool map_shape_kind(const EntityCommon& common, Target target, std::string& error);
    bool map_text_kind(const EntityCommon& common, Target target, std::string& error);
    bool map_extent_kind(const EntityCommon& common, Target target, std::string& error);
    bool map_structure_kind(std::string& error);
    Target target_of(const EntityCommon& common) const;
    // The entity's plane; counts the tilted ones of model space.
    EntityPlane plane_of_entity(const EntityCommon& common, Target target);
    // Whether the entity goes somewhere and lies in the drawing plane, seen
    // from the side plane receives.
    bool in_drawing_plane(const EntityCommon& common, Target target, EntityPlane& plane);
    ShapeHead head_of(const EntityCommon& common, bool numbered);
    int add_line(std::string line);
    void add_points(const std::array<Point, 4>& corners);

    // Decodes the object's groups by codes and maps what they hold with map.
    template <typename Data, std::size_t N>
    bool decode_and_map(const GroupCode<Data> (&codes)[N],
                        void (EntityMapper::*map)(const EntityCommon&, Target, const Data&),
                        const EntityCommon& c, Target target, std::string& error);
    void map_line(const EntityCommon& c, Target target, const LineData& d);
    void map_round(const EntityCommon& c, Target target, const CircleData& d, bool full);
    void map_text(const EntityCommon& c, Target target, const TextData& d);
    void map_mtext(const EntityCommon& c, Target target, const MTextData& d);
    void map_point(const EntityCommon& c, Target target, const PointData& d);
    void map_corners(const EntityCommon& c, Target target, const CornerData& d, bool solid);
    void map_dimension(const EntityCommon& c, Target target, const DimensionData& d);
    void map_insert(const EntityCommon& c, Target target, const InsertData& d);
    void map_ellipse(const EntityCommon& c, Target target, const EllipseData& d);
    void map_spline(const SplineData& d);
    void start_polyline(const EntityCommon& c, Target target, int flags);
    void flush_polyline();
    // Adds a segment of the polyline: its record (model space) and shape.
    // Returns whether it bulges.
    bool add_segment(const PendingPolyline& p, int head, const DxfVertex& from,
                     const DxfVertex& to);
    void add_if_faceted(const std::vector<DxfVertex>& vertices, std::size_t corners);

    DxfDrawing& drawing_;
    DrawingGeometry& geometry_ = drawing_.geometry;
    DxfStructure structure_;
    ObjectDecoder decoder_;
    // The section the object being decoded lies in, and where it begins.
    std::string object_section_;
    std::size_t object_begin_ = 0;
    bool object_open_ = false;
    std::map<std::string, LayerStyle> layers_;
    PendingPolyline polyline_;
    int next_id_ = 0;
};

}  // namespace holechart_dxf
