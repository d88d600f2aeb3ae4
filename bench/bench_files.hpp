// Temporary files shared by the benchmark programs.
#pragma once

#include <string>

#include "bench/drawing_generator.hpp"

// A generated drawing of the given size and hole layout, written once per
// process into the temporary folder; returns its path.
std::string generated_drawing_file(int entities, int holes,
                                   HoleLayout layout = HoleLayout::scattered);

std::string temporary_path(const std::string& name);
long long file_size(const std::string& path);
