// The command line of holechart-dxf.
#pragma once

#include <string>
#include <vector>

#include "tools/common/command_line.hpp"
#include "tools/common/hole_table.hpp"

namespace holechart_dxf {

// The memory budget by default, and the least one may give.
constexpr int kDefaultMemoryMiB = 512;
constexpr int kLeastMemoryMiB = 16;

struct DxfOptions {
    std::string input;
    std::string output;  // "-": standard output
    // Without a window the chart is placed beside the drawing (chart_window).
    bool window_given = false;
    double window[4] = {0.0, 0.0, 0.0, 0.0};  // x1 y1 x2 y2
    double origin[2] = {0.0, 0.0};
    // Without a text height the chart follows the drawing's units and size
    // (chart_window).
    bool text_height_given = false;
    double text_height = 2.5;
    // Without a layer the chart stays on its own layer "HoleChart" in colour 3.
    bool layer_given = false;
    std::string layer;
    int color = 3;
    bool absolute = false;
    // Every arc of more than a half turn is a hole, as in the exchange
    // format, also one whose ends join an outline.
    bool all_arcs = false;
    // Only the holes whose centre lies in the box (x1 y1 x2 y2, in any
    // order), and only the circles and arcs on the given layers.
    bool holes_in_given = false;
    double holes_in[4] = {0.0, 0.0, 0.0, 0.0};
    std::vector<std::string> hole_layers;
    // Rows keep the numbers of the chart this program wrote before.
    bool keep_numbers = false;
    // The hole table as well, in the form its name's extension gives.
    std::string table;
    companion::TableFormat table_format = companion::TableFormat::csv;
    bool table_byte_order_mark = companion::kTableByteOrderMarkByDefault;  // CSV and TSV only
    // Memory for what the block references place and for the chart, in MiB:
    // a drawing that needs more is refused before it takes it.
    int max_memory_mib = kDefaultMemoryMiB;
    bool force = false;  // write the outputs even over the input
    companion::Asked asked;
};

// Longest layer name a record can carry.
constexpr std::size_t kMaxChartLayerChars = 51;

// IN.dxf and OUT.dxf and the options, as companion::read_command_line reads
// them from the arguments after the program's name. Neither output may be
// IN.dxf (unless --force is given) or the other. Window and origin
// numbers must be finite: "nan",
// "inf" or a number beyond the range of a double is an unusable command
// line.
bool parse_dxf_options(const std::vector<std::string>& args, DxfOptions& options,
                       std::string& error);

const char* dxf_usage_text();

}  // namespace holechart_dxf
