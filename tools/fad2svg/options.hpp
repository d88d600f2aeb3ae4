// The command line of fad2svg.
#pragma once

#include <string>
#include <vector>

#include "tools/common/command_line.hpp"

namespace fad2svg {

enum class Background { light, dark };

struct SvgOptions {
    std::vector<std::string> inputs;  // drawn in this order, later over earlier
    std::string output;               // "-": standard output
    Background background = Background::light;
    int width = 1000;                 // pixels; the height follows the aspect ratio
    std::vector<std::string> layers;  // empty: every layer
    bool force = false;               // write the output even over an input
    companion::Asked asked;
};

// The command line after the program's name, read by
// companion::read_command_line: at least one input and exactly one output,
// which is none of the inputs unless --force is given.
bool parse_svg_options(const std::vector<std::string>& args, SvgOptions& options,
                       std::string& error);

const char* svg_usage_text();

}  // namespace fad2svg
