// The command line of fad2svg.
#pragma once

#include <string>
#include <vector>

enum class Background { light, dark };

struct Options {
    std::vector<std::string> inputs;  // drawn in this order, later over earlier
    std::string output;               // "-": standard output
    Background background = Background::light;
    int width = 1000;                 // pixels; the height follows the aspect ratio
    std::vector<std::string> layers;  // empty: every layer
    bool force = false;               // write the output even over an input
    bool help = false;
    bool version = false;
};

// Reads the arguments after the program name. Returns false with a one-line
// reason in error when they are not usable. With --help or --version the
// rest is not checked: help or version is set and the result is true.
bool parse_options(const std::vector<std::string>& args, Options& options, std::string& error);

const char* usage_text();
