#include "tools/holechart_dxf/dxf_decoder.hpp"

#include <cmath>

#include "tools/holechart_dxf/dxf_drawing.hpp"

namespace holechart_dxf {

namespace {

// The kinds whose pairs the bridge reads; of any other kind in a drawing
// only the points widen the extent. XLINE and RAY are infinite: they widen
// nothing.
bool known_kind(std::string_view type) {
    static const char* const kKnown[] = {
        "LINE",    "ARC",    "CIRCLE",  "TEXT",     "MTEXT",      "ATTRIB",    "ATTDEF", "POINT",
        "SOLID",   "TRACE",  "3DFACE",  "POLYLINE", "LWPOLYLINE", "VERTEX",    "SEQEND", "INSERT",
        "ELLIPSE", "SPLINE", "HATCH",   "LEADER",   "IMAGE",      "DIMENSION", "XLINE",  "RAY",
        "BLOCK",   "ENDBLK", "SECTION", "ENDSEC",   "EOF"};
    for (const char* kind : kKnown) {
        if (type == kind) {
            return true;
        }
    }
    return false;
}

std::string on_line(std::size_t line) {
    return "line " + std::to_string(line);
}

}  // namespace

// The lists the groups of a kind make: the kinds of the drawing that the
// bridge does not know give the points that widen the extent.
ObjectDecoder::Lists ObjectDecoder::lists_of(std::string_view type, bool in_drawing) {
    struct Named {
        const char* type;
        Lists lists;
    };
    static constexpr Named kListed[] = {
        {"LWPOLYLINE", Lists::lwpolyline}, {"SPLINE", Lists::spline}, {"LEADER", Lists::leader},
        {"HATCH", Lists::hatch},           {"MTEXT", Lists::mtext},
    };
    for (const Named& n : kListed) {
        if (type == n.type) {
            return n.lists;
        }
    }
    if (!in_drawing || known_kind(type)) {
        return Lists::none;
    }
    // A multiline's vertices are its 11/21 points.
    return type == "MLINE" ? Lists::mline_points : Lists::points;
}

void ObjectDecoder::begin(std::string_view type, std::size_t line, bool in_drawing) {
    type_.assign(type);
    line_ = line;
    if (++generation_ == 0) {
        values_.fill(Value{});
        generation_ = 1;
    }
    lists_ = lists_of(type, in_drawing);
    vertices_.clear();
    fit_points_.clear();
    extent_points_.clear();
    text_.clear();
    list_fault_.clear();
    declared_vertices_ = -1;
    declared_fit_points_ = -1;
    declared_knots_ = -1;
    knots_ = 0;
    pending_x_ = 0.0;
    in_embedded_object_ = false;
    in_paths_ = false;
    polyline_path_ = false;
    edge_type_ = 0;
    in_tag_application_ = false;
    in_chart_application_ = false;
    chart_data_.clear();
    has_tag_ = false;
    tag_ = std::string_view();
    chart_mark_ = false;
}

void ObjectDecoder::take(const DxfPair& pair) {
    if (pair.code >= 1000) {
        take_extended_data(pair);
        return;
    }
    // The columns of a newer MTEXT follow as an embedded object, whose
    // points are no part of the text's own.
    if (lists_ == Lists::mtext && pair.code == 101) {
        in_embedded_object_ = true;
    }
    if (in_embedded_object_ || take_list_pair(pair)) {
        return;
    }
    values_[static_cast<std::size_t>(pair.code)] = Value{pair.value, pair.line + 1, generation_};
}

const ObjectDecoder::Value* ObjectDecoder::value_of(int code) const {
    const Value& value = values_[static_cast<std::size_t>(code)];
    return value.generation == generation_ ? &value : nullptr;
}

bool ObjectDecoder::number_error(const Value& value, int code, std::string& error) const {
    error = on_line(value.line) + ": '" + shown_value(value.text) + "' is no number (group code " +
            std::to_string(code) + " of the " + type_ + " of " + on_line(line_) + ")";
    return false;
}

std::string ObjectDecoder::mtext_text() const {
    const Value* last = value_of(1);
    return last == nullptr ? text_ : text_ + std::string(last->text);
}

bool ObjectDecoder::list_real(const DxfPair& pair, double& value) {
    if (real_value(pair.value, value)) {
        return true;
    }
    if (list_fault_.empty()) {
        const Value fault{pair.value, pair.line + 1, generation_};
        number_error(fault, pair.code, list_fault_);
    }
    return false;
}

void ObjectDecoder::count(int& declared, const DxfPair& pair) {
    int value = 0;
    if (int_value(pair.value, value)) {
        declared = value;
    } else if (list_fault_.empty()) {
        const Value fault{pair.value, pair.line + 1, generation_};
        number_error(fault, pair.code, list_fault_);
    }
}

bool ObjectDecoder::take_list_pair(const DxfPair& pair) {
    switch (lists_) {
        case Lists::lwpolyline:
            return take_vertex_pair(pair, 90);
        case Lists::leader:
            return take_vertex_pair(pair, 76);
        case Lists::spline:
            return take_spline_pair(pair);
        case Lists::hatch:
            return take_hatch_pair(pair);
        case Lists::mtext:
            if (pair.code == 3) {
                text_.append(pair.value);
                return true;
            }
            return false;
        case Lists::points:
        case Lists::mline_points: {
            // Points are 10/20; 11/21 are vectors in most kinds, but the
            // vertices of a multiline. What is no number widens nothing.
            double value = 0.0;
            if ((pair.code == 10 || pair.code == 11) && !real_value(pair.value, pending_x_)) {
                pending_x_ = NAN;
            }
            const bool y = pair.code == 20 || (pair.code == 21 && lists_ == Lists::mline_points);
            if (y && real_value(pair.value, value) && std::isfinite(pending_x_)) {
                add_extent_point(pending_x_, value);
            }
            return false;
        }
        case Lists::none:
            break;
    }
    return false;
}

// A polyline's or a leader's vertices: 10 starts one, 20 and 42 fill it.
bool ObjectDecoder::take_vertex_pair(const DxfPair& pair, int count_code) {
    double value = 0.0;
    if (pair.code == count_code) {
        count(declared_vertices_, pair);
    } else if (pair.code == 10) {
        vertices_.push_back(DxfVertex{});
        if (list_real(pair, value)) {
            vertices_.back().at.x = value;
        }
    } else if (pair.code == 20 || (pair.code == 42 && lists_ == Lists::lwpolyline)) {
        if (!vertices_.empty() && list_real(pair, value)) {
            (pair.code == 20 ? vertices_.back().at.y : vertices_.back().bulge) = value;
        }
    } else {
        return false;
    }
    return true;
}

// A spline's knots (40), control points (10/20) with their weights (41) and
// fit points (11/21), and the counts of each (72, 73, 74).
bool ObjectDecoder::take_spline_pair(const DxfPair& pair) {
    double value = 0.0;
    switch (pair.code) {
        case 72:
            count(declared_knots_, pair);
            return true;
        case 73:
            count(declared_vertices_, pair);
            return true;
        case 74:
            count(declared_fit_points_, pair);
            return true;
        case 40:
        case 41:
            knots_ += pair.code == 40 ? 1 : 0;
            return true;
        case 10:
            vertices_.push_back(DxfVertex{});
            if (list_real(pair, value)) {
                vertices_.back().at.x = value;
            }
            return true;
        case 11:
            fit_points_.push_back(Point{});
            if (list_real(pair, value)) {
                fit_points_.back().x = value;
            }
            return true;
        case 20:
            if (!vertices_.empty() && list_real(pair, value)) {
                vertices_.back().at.y = value;
            }
            return true;
        case 21:
            if (!fit_points_.empty() && list_real(pair, value)) {
                fit_points_.back().y = value;
            }
            return true;
        default:
            return false;
    }
}

// A hatch's boundary paths follow its path count (91) up to its style (75)
// or pattern type (76): each path a polyline (92 with bit 2: vertices
// 10/20) or edges (72: 1 line, 2 arc, 3 elliptic arc, 4 spline). What the
// boundary reaches widens the extent; the seed points after it do not.
bool ObjectDecoder::take_hatch_pair(const DxfPair& pair) {
    if (pair.code == 91) {
        in_paths_ = true;
        return true;
    }
    if (!in_paths_) {
        return false;
    }
    if (pair.code == 92 || pair.code == 75 || pair.code == 76) {
        finish_edge();
        in_paths_ = pair.code == 92;
        int flags = 0;
        polyline_path_ = pair.code == 92 && int_value(pair.value, flags) && (flags & 2) != 0;
        edge_type_ = 0;
        return pair.code == 92;
    }
    if (polyline_path_) {
        double value = 0.0;
        if (pair.code == 10) {
            pending_x_ = list_real(pair, value) ? value : NAN;
        } else if (pair.code == 20) {
            if (list_real(pair, value) && std::isfinite(pending_x_)) {
                add_extent_point(pending_x_, value);
            }
        } else if (pair.code != 42 && pair.code != 72 && pair.code != 73 && pair.code != 93) {
            return false;
        }
        return true;
    }
    if (pair.code == 72) {
        finish_edge();
        int type = 0;
        edge_type_ = int_value(pair.value, type) ? type : 0;
        return true;
    }
    return take_edge_pair(pair);
}

bool ObjectDecoder::take_edge_pair(const DxfPair& pair) {
    int slot = -1;
    switch (pair.code) {
        case 10:
            slot = 0;
            break;
        case 20:
            slot = 1;
            break;
        case 11:
        case 40:
            slot = pair.code == 40 && edge_type_ != 2 ? -1 : 2;
            break;
        case 21:
            slot = 3;
            break;
        default:
            break;
    }
    if (slot < 0) {
        return pair.code != 330 && pair.code != 97;
    }
    double value = 0.0;
    if (!list_real(pair, value)) {
        return true;
    }
    edge_values_[slot] = value;
    edge_given_[slot] = true;
    // A spline edge's control points (10/20) and fit points (11/21).
    if (edge_type_ == 4 && (slot == 1 || slot == 3) && edge_given_[slot - 1]) {
        add_extent_point(edge_values_[slot - 1], value);
        edge_given_[slot - 1] = false;
    }
    return true;
}

void ObjectDecoder::finish_edge() {
    const double* v = edge_values_;
    const bool centre = edge_given_[0] && edge_given_[1];
    if (edge_type_ == 1 && centre && edge_given_[2] && edge_given_[3]) {
        add_extent_point(v[0], v[1]);
        add_extent_point(v[2], v[3]);
    } else if ((edge_type_ == 2 || edge_type_ == 3) && centre && edge_given_[2]) {
        // The box of the whole circle or ellipse the edge lies on.
        const double reach = edge_type_ == 2 ? v[2] : std::hypot(v[2], edge_given_[3] ? v[3] : 0.0);
        add_extent_point(v[0] - reach, v[1] - reach);
        add_extent_point(v[0] + reach, v[1] + reach);
    }
    for (bool& given : edge_given_) {
        given = false;
    }
}

void ObjectDecoder::take_extended_data(const DxfPair& pair) {
    if (pair.code == 1001) {
        const std::string application = dxf_upper(pair.value);
        in_tag_application_ = application == kTagApplication;
        in_chart_application_ = application == kChartApplication;
        chart_mark_ = chart_mark_ || in_chart_application_;
    } else if (in_chart_application_) {
        chart_data_.push_back(pair);
    } else if (pair.code == 1000 && in_tag_application_ && !has_tag_) {
        // Blanks around a tag are no part of it.
        std::string_view tag = pair.value;
        const std::size_t first = tag.find_first_not_of(" \t");
        const std::size_t last = tag.find_last_not_of(" \t");
        has_tag_ = true;
        tag_ = first == std::string_view::npos ? std::string_view()
                                               : tag.substr(first, last - first + 1);
    }
}

void ObjectDecoder::finish() {
    if (lists_ == Lists::hatch && in_paths_) {
        finish_edge();
    }
}

bool ObjectDecoder::lists_sound(std::string& error) const {
    if (!list_fault_.empty()) {
        error = list_fault_;
        return false;
    }
    auto agrees = [&](int declared, std::size_t held, const char* what, int code) {
        if (declared < 0 || static_cast<std::size_t>(declared) == held) {
            return true;
        }
        error = "the " + type_ + " of " + on_line(line_) + " declares " + std::to_string(declared) +
                " " + what + " (group code " + std::to_string(code) + ") but holds " +
                std::to_string(held);
        return false;
    };
    const int vertex_code = lists_ == Lists::lwpolyline ? 90 : lists_ == Lists::leader ? 76 : 73;
    const char* vertex_name = lists_ == Lists::spline ? "control points" : "vertices";
    return agrees(declared_vertices_, vertices_.size(), vertex_name, vertex_code) &&
           agrees(declared_fit_points_, fit_points_.size(), "fit points", 74) &&
           agrees(declared_knots_, static_cast<std::size_t>(knots_), "knots", 72);
}

}  // namespace holechart_dxf
