// From input files to the text of the SVG picture.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/fad2svg/options.hpp"

namespace fad2svg {

// Reads every input of the options and draws them, later over earlier.
// Returns false with a one-line reason in error when an input cannot be
// read; otherwise svg holds the document and warnings any one-line notes
// about what could not be drawn.
bool render_files(const SvgOptions& options, std::string& svg, std::vector<std::string>& warnings,
                  std::string& error);

// Draws the bytes as the one input, as if they were a file of that name,
// without reading any file; the options' inputs are not looked at.
std::string render_bytes(const SvgOptions& options, const std::string& name, std::string_view bytes,
                         std::vector<std::string>& warnings);

// A path or name as it can be shown in a one-line message: quoted, its bytes
// made valid UTF-8 and its control characters replaced.
std::string shown(const std::string& name);

}  // namespace fad2svg
