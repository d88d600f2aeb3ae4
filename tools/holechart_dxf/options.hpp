// The command line of holechart-dxf.
#pragma once

#include <string>
#include <vector>

struct DxfOptions {
    std::string input;
    std::string output;  // "-": standard output
    // Without a window the chart is placed beside the drawing (chart_window).
    bool window_given = false;
    double window[4] = {0.0, 0.0, 0.0, 0.0};  // x1 y1 x2 y2
    double origin[2] = {0.0, 0.0};
    double text_height = 2.5;
    // Without a layer the chart stays on its own layer "HoleChart" in colour 3.
    bool layer_given = false;
    std::string layer;
    int color = 3;
    bool absolute = false;
    bool force = false;  // write the output even over the input
    bool help = false;
    bool version = false;
};

// Longest layer name a record can carry.
constexpr std::size_t kMaxChartLayerChars = 51;

// Reads the arguments after the program name. Returns false with a one-line
// reason in error when they are not usable. With --help or --version the
// rest is not checked. Window and origin numbers are taken as written, "inf"
// and "nan" included: whether they can place a chart is the run's own check.
bool parse_options(const std::vector<std::string>& args, DxfOptions& options, std::string& error);

const char* usage_text();
