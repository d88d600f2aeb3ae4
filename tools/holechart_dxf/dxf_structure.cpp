#include "tools/holechart_dxf/dxf_structure.hpp"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace {

bool parse_hex(const std::string& text, unsigned long long& value) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const unsigned long long parsed = std::strtoull(text.c_str(), &end, 16);
    if (errno != 0 || *end != '\0') {
        return false;
    }
    value = parsed;
    return true;
}

double to_real(const std::string& text, double fallback) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    return end != text.c_str() && std::isfinite(value) ? value : fallback;
}

PairEvent take_header_pair(DxfStructure& s, unsigned int code, const std::string& value) {
    if (code == 9) {
        s.header_variable = value;
        return PairEvent::none;
    }
    const std::string& name = s.header_variable;
    if (name == "$ACADVER" && code == 1) {
        s.version = dxf_upper(value);
        // A text value keeps its blanks; the version has none.
        s.version.erase(0, s.version.find_first_not_of(" \t"));
        s.version.erase(s.version.find_last_not_of(" \t") + 1);
    } else if (name == "$HANDSEED" && code == 5) {
        s.has_handseed = parse_hex(value, s.handseed) || s.has_handseed;
        return PairEvent::handseed;
    } else if (name == "$HANDLING" && code == 70) {
        s.handling = std::atoi(value.c_str());
    } else if (name == "$DIMTXT" && code == 40) {
        s.dimension_text_height = to_real(value, s.dimension_text_height);
    } else if (name == "$DIMSCALE" && code == 40) {
        s.dimension_scale = to_real(value, s.dimension_scale);
    } else if (name == "$PDMODE" && code == 70) {
        s.point_mode = std::atoi(value.c_str());
    } else if (name == "$PDSIZE" && code == 40) {
        s.point_size = to_real(value, s.point_size);
    } else if (name == "$INSUNITS" && code == 70) {
        s.insertion_units = std::atoi(value.c_str());
    } else if (name == "$MEASUREMENT" && code == 70) {
        s.measurement = std::atoi(value.c_str());
    }
    return PairEvent::none;
}

// The kinds whose geometry the library reports, and objects that are no
// entities of a drawing.
bool reported_kind(const std::string& type) {
    static const char* const kReported[] = {
        "LINE",    "ARC",    "CIRCLE",  "TEXT",     "MTEXT",      "ATTRIB",    "ATTDEF", "POINT",
        "SOLID",   "TRACE",  "3DFACE",  "POLYLINE", "LWPOLYLINE", "VERTEX",    "SEQEND", "INSERT",
        "ELLIPSE", "SPLINE", "HATCH",   "LEADER",   "IMAGE",      "DIMENSION", "XLINE",  "RAY",
        "BLOCK",   "ENDBLK", "SECTION", "ENDSEC",   "EOF"};
    for (const char* kind : kReported) {
        if (type == kind) {
            return true;
        }
    }
    return false;
}

PairEvent take_object_start(DxfStructure& s, const std::string& type) {
    // The object that ends here.
    if (s.current.type == "BLOCK_RECORD" && dxf_upper(s.current.name) == "*MODEL_SPACE") {
        s.model_space_handle = s.current.handle;
    }
    s.completing = std::move(s.current);
    s.current = DxfObject{};
    s.current.type = type;
    s.header_variable.clear();
    s.expect_section_name = type == "SECTION";
    s.expect_table_name = type == "TABLE";

    PairEvent event = PairEvent::none;
    if (type == "ENDSEC") {
        if (s.section == "ENTITIES") {
            event = PairEvent::entities_end;
        }
        s.section.clear();
    } else if (type == "ENDTAB") {
        if (s.table == "LAYER" && !s.layer_table_closed) {
            s.layer_table_closed = true;
            event = PairEvent::layer_table_end;
        } else if (s.table == "APPID" && !s.appid_table_closed) {
            s.appid_table_closed = true;
            event = PairEvent::appid_table_end;
        }
        s.table.clear();
    } else if (type == "EOF") {
        s.saw_eof = true;
    }
    s.current.section = s.section;
    s.current.collects_points =
        (s.section == "ENTITIES" || s.section == "BLOCKS") && !reported_kind(type);
    return event;
}

}  // namespace

PairEvent take_pair(DxfStructure& s, unsigned int code, const std::string& value) {
    if (!s.first_pair_seen && code != 999) {
        s.first_pair_seen = true;
        s.starts_like_dxf = code == 0 && value == "SECTION";
    }
    if (code == 0) {
        return take_object_start(s, value);
    }
    if (code == 2 && s.expect_section_name) {
        s.section = dxf_upper(value);
        s.current.section = s.section;
        s.expect_section_name = false;
        return PairEvent::none;
    }
    if (code == 2 && s.expect_table_name) {
        s.table = dxf_upper(value);
        s.expect_table_name = false;
        return PairEvent::none;
    }
    s.expect_section_name = false;
    s.expect_table_name = false;

    if (s.section == "HEADER") {
        return take_header_pair(s, code, value);
    }
    switch (code) {
        case 1:
        case 3:
            s.current.text_chars += value.size();
            break;
        case 2:
            s.current.name = value;
            if (s.current.type == "APPID" && s.table == "APPID") {
                s.appid_names.push_back(dxf_upper(value));
            }
            break;
        case 1001:
            if (dxf_upper(value) == kChartApplication) {
                s.current.chart_mark = true;
            }
            break;
        case 67:
            s.current.paper_space = std::atoi(value.c_str()) == 1;
            break;
        case 10:
        case 11:
            s.current.pending_x = to_real(value, HUGE_VAL);
            break;
        case 20:
        case 21:
            // Points are 10/20; 11/21 are vectors in most kinds, but the
            // vertices of a multiline.
            if (s.current.collects_points && (code == 20 || s.current.type == "MLINE")) {
                s.current.points.push_back(Point{s.current.pending_x, to_real(value, HUGE_VAL)});
            }
            break;
        case 5:
        case 105: {
            // 105 is the handle of a dimension style record.
            s.current.handle = value;
            unsigned long long handle = 0;
            if (parse_hex(value, handle) && handle > s.highest_handle) {
                s.highest_handle = handle;
            }
            if (s.current.type == "TABLE" && s.table == "LAYER") {
                s.layer_table_handle = value;
            }
            if (s.current.type == "TABLE" && s.table == "APPID") {
                s.appid_table_handle = value;
            }
            break;
        }
        case 390:
            if (s.current.type == "LAYER" && s.table == "LAYER" && s.plot_style_handle.empty()) {
                s.plot_style_handle = value;
            }
            break;
        default:
            break;
    }
    return PairEvent::none;
}

void finish_layout(const DxfStructure& s, DxfLayout& layout) {
    // Versions after R12 ("AC1009") are "AC1012" and up; a file without a
    // version is read as R12, whose rules every later reader still takes.
    layout.subclass_markers = s.version.size() == 6 && s.version.compare(0, 2, "AC") == 0 &&
                              s.version.compare(2, 4, "1009") > 0;
    layout.handles = layout.subclass_markers || (s.has_handseed && s.handling != 0);
    layout.next_handle = s.highest_handle + 1;
    if (s.has_handseed && s.handseed > layout.next_handle) {
        layout.next_handle = s.handseed;
    }
    if (layout.next_handle == 0) {
        layout.next_handle = 1;
    }
    layout.layer_table_handle = s.layer_table_handle;
    layout.appid_table_handle = s.appid_table_handle;
    layout.appid_names = s.appid_names;
    layout.model_space_handle = s.model_space_handle;
    layout.plot_style_handle = s.plot_style_handle;
}
