// CAD colour numbers as SVG colours.
#pragma once

#include <cstdint>

#include "tools/fad2svg/options.hpp"

namespace fad2svg {

struct Palette {
    const char* background;
    const char* foreground;  // colour 7: black on light, white on dark
};

Palette palette_for(Background background);

// "#rrggbb" for a colour number: 1 red, 2 yellow, 3 green, 4 cyan, 5 blue,
// 6 magenta, 7 the foreground, any other number grey.
const char* colour_for(int32_t number, Background background);

}  // namespace fad2svg
