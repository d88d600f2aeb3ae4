// Decodes one object of a DXF file at a time from its group code pairs, for
// the kinds the bridge maps (dxf_kinds.hpp): the last value of each group
// code, as DXF readers take a code that repeats; the repeated groups of a
// kind (a polyline's vertices, a spline's control and fit points, a leader's
// vertices, a hatch's boundary, the points of a kind the bridge does not
// know) collected as their pairs arrive, never from a count the file
// declares; and the hole tag and chart mark of its extended data. A count
// that a kind declares must agree with what came: else the file is damaged.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/point.hpp"
#include "tools/holechart_dxf/dxf_kinds.hpp"
#include "tools/holechart_dxf/dxf_pairs.hpp"
#include "tools/holechart_dxf/dxf_values.hpp"

namespace holechart_dxf {

// A vertex of a polyline, with the bulge of the segment that starts there.
struct DxfVertex {
    Point at;
    double bulge = 0.0;
};

class ObjectDecoder {
  public:
    // Starts the object of the given type (the value of its 0 pair), which
    // begins at the given line. Only an object in a drawing (model space or
    // a block) keeps the points of a kind the bridge does not know.
    void begin(std::string_view type, std::size_t line, bool in_drawing);
    // Takes a pair of the object other than its 0 pair.
    void take(const DxfPair& pair);
    // Ends the object once its last pair is taken.
    void finish();

    const std::string& type() const { return type_; }
    std::size_t line() const { return line_; }

    // Fills data from the object's pairs by the table. False with a one-line
    // reason when a value is not of the form its field wants.
    template <typename Data, std::size_t N>
    bool decode(const GroupCode<Data> (&codes)[N], Data& data, std::string& error) const {
        for (const GroupCode<Data>& c : codes) {
            if (!decode_field(c, data, error)) {
                return false;
            }
        }
        return true;
    }

    // Whether the repeated groups were sound: their values numbers, and
    // the counts the object declares what came. False with a one-line
    // reason when not.
    bool lists_sound(std::string& error) const;

    // A polyline's vertices, a leader's vertices, a spline's control points.
    const std::vector<DxfVertex>& vertices() const { return vertices_; }
    // A spline's fit points.
    const std::vector<Point>& fit_points() const { return fit_points_; }
    // The points of a kind the bridge does not know, and the points that a
    // hatch's boundary reaches: they only widen the drawing's extent.
    const std::vector<Point>& extent_points() const { return extent_points_; }
    // An MTEXT's whole text: its parts (3) and its last part (1).
    std::string mtext_text() const;

    bool has_tag() const { return has_tag_; }
    std::string_view tag() const { return tag_; }
    // Marked as an entity of the chart this program writes, and the pairs of
    // that mark after its 1001 pair.
    bool chart_mark() const { return chart_mark_; }
    const std::vector<DxfPair>& chart_data() const { return chart_data_; }

  private:
    struct Value {
        std::string_view text;
        std::size_t line = 0;
        uint32_t generation = 0;  // set in the object of this generation
    };
    // How the object's repeated groups are read.
    enum class Lists { none, lwpolyline, spline, leader, hatch, mtext, points, mline_points };
    static Lists lists_of(std::string_view type, bool in_drawing);

    const Value* value_of(int code) const;
    bool number_error(const Value& value, int code, std::string& error) const;
    template <typename Data>
    bool decode_field(const GroupCode<Data>& c, Data& data, std::string& error) const;
    bool take_list_pair(const DxfPair& pair);
    bool take_vertex_pair(const DxfPair& pair, int count_code);
    bool take_spline_pair(const DxfPair& pair);
    bool take_hatch_pair(const DxfPair& pair);
    bool take_edge_pair(const DxfPair& pair);
    void finish_edge();
    void take_extended_data(const DxfPair& pair);
    // The value as a real, or false with the first such fault kept.
    bool list_real(const DxfPair& pair, double& value);
    void count(int& declared, const DxfPair& pair);
    void add_extent_point(double x, double y) { extent_points_.push_back(Point{x, y}); }

    std::string type_;
    std::size_t line_ = 0;
    Lists lists_ = Lists::none;
    uint32_t generation_ = 1;
    std::array<Value, kLargestGroupCode + 1> values_{};

    std::vector<DxfVertex> vertices_;
    std::vector<Point> fit_points_;
    std::vector<Point> extent_points_;
    std::string text_;  // an MTEXT's parts
    std::string list_fault_;
    int declared_vertices_ = -1;  // -1: none declared
    int declared_fit_points_ = -1;
    int declared_knots_ = -1;
    int knots_ = 0;
    double pending_x_ = 0.0;
    bool in_embedded_object_ = false;

    // A hatch's boundary: whether the boundary paths are being read, and
    // the current path and edge.
    bool in_paths_ = false;
    bool polyline_path_ = false;
    int edge_type_ = 0;
    // The edge's groups 10, 20, 11 (or 40), 21, and which were given.
    double edge_values_[4] = {};
    bool edge_given_[4] = {};

    bool in_tag_application_ = false;
    bool in_chart_application_ = false;
    std::vector<DxfPair> chart_data_;
    bool has_tag_ = false;
    std::string_view tag_;
    bool chart_mark_ = false;
};

template <typename Data>
bool ObjectDecoder::decode_field(const GroupCode<Data>& c, Data& data, std::string& error) const {
    const Value* value = value_of(c.code);
    if (value == nullptr) {
        return true;
    }
    if (c.text != nullptr) {
        data.*c.text = value->text;
        return true;
    }
    if (c.real != nullptr) {
        double parsed = 0.0;
        if (!real_value(value->text, parsed)) {
            return number_error(*value, c.code, error);
        }
        data.*c.real = parsed;
        return true;
    }
    int parsed = 0;
    if (!int_value(value->text, parsed)) {
        return number_error(*value, c.code, error);
    }
    data.*c.integer = parsed;
    return true;
}

}  // namespace holechart_dxf
