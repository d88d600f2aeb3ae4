#include "tools/holechart_dxf/dxf_structure.hpp"

#include "tools/holechart_dxf/dxf_values.hpp"

namespace holechart_dxf {

namespace {

std::string at_line(std::size_t line) {
    return "line " + std::to_string(line);
}

// What a sequence opened by the given type holds besides SEQEND.
const char* sequence_member(const std::string& opener) {
    return opener == "POLYLINE" ? "VERTEX" : "ATTRIB";
}

// A header variable's value where it reads as its field's kind of number;
// otherwise the field keeps its default.
void take_value(std::string_view value, double& field) {
    double parsed = 0.0;
    if (real_value(value, parsed)) {
        field = parsed;
    }
}

void take_value(std::string_view value, int& field) {
    int parsed = 0;
    if (int_value(value, parsed)) {
        field = parsed;
    }
}

// The header variables read as numbers: whole numbers in group 70, reals
// in group 40.
template <typename Number>
struct HeaderNumber {
    const char* name;
    Number DxfHeader::*field;
};
constexpr HeaderNumber<int> kWholeVariables[] = {{"$HANDLING", &DxfHeader::handling},
                                                 {"$PDMODE", &DxfHeader::point_mode},
                                                 {"$INSUNITS", &DxfHeader::insertion_units},
                                                 {"$MEASUREMENT", &DxfHeader::measurement}};
constexpr HeaderNumber<double> kRealVariables[] = {{"$DIMTXT", &DxfHeader::dimension_text_height},
                                                   {"$DIMSCALE", &DxfHeader::dimension_scale},
                                                   {"$PDSIZE", &DxfHeader::point_size}};

template <typename Number, std::size_t N>
void take_header_number(const HeaderNumber<Number> (&variables)[N], const std::string& name,
                        std::string_view value, DxfHeader& header) {
    for (const HeaderNumber<Number>& v : variables) {
        if (name == v.name) {
            take_value(value, header.*v.field);
        }
    }
}

}  // namespace

bool DxfStructure::take_pair(int code, std::string_view value, std::size_t line, PairEvent& event,
                             std::string& error) {
    event = PairEvent::none;
    if (!first_pair_seen_ && code != 999) {
        first_pair_seen_ = true;
        starts_like_dxf_ = code == 0 && value == "SECTION";
    }
    if (!value_fits_code(code, value)) {
        error = at_line(line + 1) + ": '" + shown_value(value) + "' is no number (group code " +
                std::to_string(code) +
                (type_.empty() ? ""
                               : " of the " + shown_value(type_) + " of " + at_line(object_line_)) +
                ")";
        return false;
    }
    if (section_ == "HEADER" && !check_header(code, value, line, error)) {
        return false;
    }
    if (code == 0) {
        if (!check_sequence(value, line, error)) {
            return false;
        }
        event = take_object_start(value, line, error);
        return error.empty();
    }
    if (code == 2 && expect_section_name_) {
        section_ = dxf_upper(value);
        expect_section_name_ = false;
        return true;
    }
    if (code == 2 && expect_table_name_) {
        table_ = dxf_upper(value);
        expect_table_name_ = false;
        return true;
    }
    expect_section_name_ = false;
    expect_table_name_ = false;
    if (section_ == "HEADER") {
        take_header_pair(code, value, event);
    } else {
        take_object_pair(code, value);
    }
    return true;
}

bool DxfStructure::check_sequence(std::string_view type, std::size_t line, std::string& error) {
    const bool in_drawing = section_ == "ENTITIES" || section_ == "BLOCKS";
    // An INSERT's attributes follow it once its own pairs are read.
    if (in_drawing && type_ == "INSERT" && attributes_follow_ && sequence_.empty()) {
        sequence_ = type_;
        sequence_line_ = object_line_;
    }
    if (sequence_.empty()) {
        if (in_drawing && type == "POLYLINE") {
            sequence_ = "POLYLINE";
            sequence_line_ = line;
        }
        return true;
    }
    if (type == "SEQEND") {
        sequence_.clear();
        return true;
    }
    if (type == sequence_member(sequence_)) {
        return true;
    }
    error = at_line(line) + ": the " + sequence_ + " of " + at_line(sequence_line_) +
            " has no SEQEND before this " + std::string(type);
    return false;
}

PairEvent DxfStructure::take_object_start(std::string_view type, std::size_t line,
                                          std::string& error) {
    // The object that ends here.
    if (type_ == "BLOCK_RECORD" && dxf_upper(name_) == "*MODEL_SPACE") {
        model_space_handle_ = handle_;
    }
    type_.assign(type);
    name_.clear();
    handle_.clear();
    attributes_follow_ = false;
    object_line_ = line;
    header_variable_.clear();
    expect_section_name_ = type == "SECTION";
    expect_table_name_ = type == "TABLE";

    const bool in_section = section_line_ != 0;
    if (type == "SECTION") {
        if (in_section) {
            error = at_line(line) + ": a SECTION begins inside the " + section_ + " section of " +
                    at_line(section_line_) + ", which has no ENDSEC";
            return PairEvent::none;
        }
        section_line_ = line;
        return PairEvent::none;
    }
    if (type == "EOF") {
        saw_eof_ = true;
        return PairEvent::none;
    }
    if (!in_section) {
        error = at_line(line) + ": " + std::string(type) + " outside any section";
        return PairEvent::none;
    }
    PairEvent event = PairEvent::none;
    if (type == "ENDSEC") {
        event = section_ == "ENTITIES" ? PairEvent::entities_end : PairEvent::none;
        section_.clear();
        table_open_ = false;
        section_line_ = 0;
    } else if (type == "TABLE") {
        table_open_ = true;
    } else if (type == "ENDTAB") {
        if (!table_open_) {
            error = at_line(line) + ": ENDTAB without its TABLE";
            return PairEvent::none;
        }
        table_open_ = false;
        if (table_ == "LAYER" && !layer_table_closed_) {
            layer_table_closed_ = true;
            event = PairEvent::layer_table_end;
        } else if (table_ == "APPID" && !appid_table_closed_) {
            appid_table_closed_ = true;
            event = PairEvent::appid_table_end;
        }
        table_.clear();
    }
    return event;
}

bool DxfStructure::finish(std::string& error) const {
    if (section_line_ != 0) {
        error = "the " + (section_.empty() ? std::string("unnamed") : section_) + " section of " +
                at_line(section_line_) + " has no ENDSEC";
        return false;
    }
    return true;
}

bool DxfStructure::check_header(int code, std::string_view value, std::size_t line,
                                std::string& error) {
    if ((code == 0 || code == 9) && !header_variable_valued_) {
        error = at_line(header_variable_line_) + ": the header variable " +
                shown_value(header_variable_) + " has no value";
        return false;
    }
    if (code == 0 && value != "ENDSEC") {
        error = at_line(line) + ": " + shown_value(value) +
                " inside the HEADER section, which holds only variables";
        return false;
    }
    if (code == 9) {
        header_variable_line_ = line;
    }
    header_variable_valued_ = code != 9;
    return true;
}

void DxfStructure::take_header_pair(int code, std::string_view value, PairEvent& event) {
    if (code == 9) {
        header_variable_.assign(value);
        return;
    }
    const std::string& name = header_variable_;
    DxfHeader& h = header_;
    if (name == "$ACADVER" && code == 1) {
        h.version = dxf_upper(value);
        // A text value keeps its blanks; the version has none.
        h.version.erase(0, h.version.find_first_not_of(" \t"));
        h.version.erase(h.version.find_last_not_of(" \t") + 1);
    } else if (name == "$HANDSEED" && code == 5) {
        h.has_handseed = handle_value(value, h.handseed) || h.has_handseed;
        event = PairEvent::handseed;
    } else if (code == 70) {
        take_header_number(kWholeVariables, name, value, h);
    } else if (code == 40) {
        take_header_number(kRealVariables, name, value, h);
    }
}

void DxfStructure::take_object_pair(int code, std::string_view value) {
    switch (code) {
        case 2:
            name_.assign(value);
            if (type_ == "APPID" && table_ == "APPID") {
                appid_names_.push_back(dxf_upper(value));
            }
            break;
        case 66:
            attributes_follow_ = value != "0";
            break;
        case 5:
        case 105: {
            // 105 is the handle of a dimension style record.
            handle_.assign(value);
            unsigned long long handle = 0;
            if (handle_value(value, handle) && handle > highest_handle_) {
                highest_handle_ = handle;
            }
            if (type_ == "TABLE" && table_ == "LAYER") {
                layer_table_handle_.assign(value);
            }
            if (type_ == "TABLE" && table_ == "APPID") {
                appid_table_handle_.assign(value);
            }
            break;
        }
        case 390:
            if (type_ == "LAYER" && table_ == "LAYER" && plot_style_handle_.empty()) {
                plot_style_handle_.assign(value);
            }
            break;
        default:
            break;
    }
}

void DxfStructure::fill_layout(DxfLayout& layout) const {
    const std::string& version = header_.version;
    // Versions after R12 ("AC1009") are "AC1012" and up; a file without a
    // version is read as R12, whose rules every later reader still takes.
    layout.subclass_markers = version.size() == 6 && version.compare(0, 2, "AC") == 0 &&
                              version.compare(2, 4, "1009") > 0;
    layout.handles = layout.subclass_markers || (header_.has_handseed && header_.handling != 0);
    // 0: the file's handles leave none above them (the chart cannot be
    // given handles of its own).
    layout.next_handle = highest_handle_ + 1;
    if (header_.has_handseed && header_.handseed > layout.next_handle && layout.next_handle != 0) {
        layout.next_handle = header_.handseed;
    }
    layout.layer_table_handle = layer_table_handle_;
    layout.appid_table_handle = appid_table_handle_;
    layout.appid_names = appid_names_;
    layout.model_space_handle = model_space_handle_;
    layout.plot_style_handle = plot_style_handle_;
}

}  // namespace holechart_dxf
