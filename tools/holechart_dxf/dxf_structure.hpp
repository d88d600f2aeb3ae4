// What the group code pairs of a DXF file tell about its structure: the
// section and table being read, the object each pair belongs to, the header
// variables the mapping reads, and the places in the file where the chart
// goes. It also checks what a DXF reader needs to read the file back: every
// section closed by ENDSEC before the next begins, a header of variables
// that each have a value, no ENDTAB without its TABLE, and every sequence of
// vertices or attributes closed by SEQEND.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "tools/holechart_dxf/dxf_drawing.hpp"

namespace holechart_dxf {

// What a pair means for the places of the layout.
enum class PairEvent { none, entities_end, layer_table_end, appid_table_end, handseed };

// The header variables the mapping reads.
struct DxfHeader {
    std::string version;  // $ACADVER, upper-cased
    bool has_handseed = false;
    unsigned long long handseed = 0;
    int handling = 1;
    double dimension_text_height = 2.5;  // $DIMTXT
    double dimension_scale = 1.0;        // $DIMSCALE
    int point_mode = 0;                  // $PDMODE
    double point_size = 0.0;             // $PDSIZE
    int insertion_units = 0;             // $INSUNITS
    int measurement = -1;                // $MEASUREMENT
};

class DxfStructure {
  public:
    // Takes the next pair. A pair of group code 0 starts an object of the
    // type it names. Returns false with a one-line reason when the pair
    // breaks the file's structure.
    bool take_pair(int code, std::string_view value, std::size_t line, PairEvent& event,
                   std::string& error);
    // After the last pair: false with the reason when a section is open.
    bool finish(std::string& error) const;

    // The first pair, comments aside, is 0 SECTION.
    bool starts_like_dxf() const { return starts_like_dxf_; }
    bool first_pair_seen() const { return first_pair_seen_; }
    bool saw_eof() const { return saw_eof_; }
    // The section the object being read lies in, upper-cased ("" outside).
    const std::string& section() const { return section_; }
    const DxfHeader& header() const { return header_; }

    // Puts what the pairs told into the layout: the version's rules, the
    // handles, the owners.
    void fill_layout(DxfLayout& layout) const;

  private:
    PairEvent take_object_start(std::string_view type, std::size_t line, std::string& error);
    bool check_sequence(std::string_view type, std::size_t line, std::string& error);
    void take_header_pair(int code, std::string_view value, PairEvent& event);
    bool check_header(int code, std::string_view value, std::size_t line, std::string& error);
    void take_object_pair(int code, std::string_view value);

    bool first_pair_seen_ = false;
    bool starts_like_dxf_ = false;
    bool saw_eof_ = false;

    std::string section_;
    std::size_t section_line_ = 0;
    std::string table_;
    bool table_open_ = false;  // a TABLE whose ENDTAB has not come
    bool expect_section_name_ = false;
    bool expect_table_name_ = false;
    bool layer_table_closed_ = false;
    bool appid_table_closed_ = false;

    // The object being read.
    std::string type_;
    std::string name_;
    std::string handle_;
    bool attributes_follow_ = false;  // an INSERT's 66
    std::size_t object_line_ = 0;
    // The sequence being read: the type that opened it (POLYLINE, or an
    // INSERT with attributes) and its line; empty when none is open.
    std::string sequence_;
    std::size_t sequence_line_ = 0;

    std::string header_variable_;
    std::size_t header_variable_line_ = 0;
    bool header_variable_valued_ = true;
    DxfHeader header_;
    unsigned long long highest_handle_ = 0;
    std::string layer_table_handle_;
    std::string appid_table_handle_;
    std::string model_space_handle_;
    std::string plot_style_handle_;
    std::vector<std::string> appid_names_;  // upper-cased
};

}  // namespace holechart_dxf
