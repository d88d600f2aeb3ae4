// What the group code and value pairs of a DXF file tell about its
// structure: the section and table being read, the object each pair belongs
// to, the header variables the mapping reads, and the places in the file
// where the chart goes.
#pragma once

#include <string>
#include <vector>

#include "tools/holechart_dxf/dxf_reader.hpp"

// One object of the file (an entity, a table record, ...) as far as its
// pairs have been read.
struct DxfObject {
    std::string section;
    std::string type;
    std::string name;
    std::string handle;
    // Extended data: whether the application being read is the one that
    // keeps the hole tag, and the tag.
    bool in_tag_application = false;
    bool has_tag = false;
    std::string tag;
    // The text of an MTEXT that comes before its last part.
    std::string mtext_chunks;
    // The length of its text (1) and text parts (3), which the library gets
    // cut when they are very long.
    std::size_t text_chars = 0;
    // Marked by extended data as an entity of the chart this program writes.
    bool chart_mark = false;
    bool paper_space = false;  // 67 = 1
    // The points (10, 20) of an entity of a kind the library does not
    // report, for the drawing's extent.
    bool collects_points = false;
    double pending_x = 0.0;
    std::vector<Point> points;
};

// The application name under which a hole's tag is kept in extended data.
constexpr const char* kTagApplication = "HOLECHART";

// What a pair means for the places of the layout.
enum class PairEvent { none, entities_end, layer_table_end, appid_table_end, handseed };

struct DxfStructure {
    // dxflib reports an object when the pair that starts the next one has
    // been read. So at each pair of group code 0 the object read so far
    // moves from current to completing, where the reports find it.
    DxfObject current;
    DxfObject completing;

    bool first_pair_seen = false;
    bool starts_like_dxf = false;  // the first pair, comments aside, is 0 SECTION
    bool saw_eof = false;

    std::string section;
    std::string table;
    bool expect_section_name = false;
    bool expect_table_name = false;
    bool layer_table_closed = false;
    bool appid_table_closed = false;

    // Header variables.
    std::string header_variable;
    std::string version;
    bool has_handseed = false;
    int handling = 1;
    unsigned long long handseed = 0;
    double dimension_text_height = 2.5;
    double dimension_scale = 1.0;
    int point_mode = 0;
    double point_size = 0.0;
    int insertion_units = 0;
    int measurement = -1;

    unsigned long long highest_handle = 0;
    std::string layer_table_handle;
    std::string appid_table_handle;
    std::string model_space_handle;
    std::string plot_style_handle;
    std::vector<std::string> appid_names;  // upper-cased
};

PairEvent take_pair(DxfStructure& s, unsigned int code, const std::string& value);

// Puts what the pairs told into the layout: the version's rules, the
// handles, the owners.
void finish_layout(const DxfStructure& s, DxfLayout& layout);
