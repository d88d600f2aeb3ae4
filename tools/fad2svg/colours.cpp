#include "tools/fad2svg/colours.hpp"

namespace fad2svg {

namespace {

// On a light background the pure yellow, green and cyan of the colour index
// are hard to read, so they are drawn a shade darker there.
constexpr const char* kOnDark[] = {"#ff0000", "#ffff00", "#00ff00",
                                   "#00ffff", "#0000ff", "#ff00ff"};
constexpr const char* kOnLight[] = {"#ff0000", "#b8a600", "#00a000",
                                    "#00a0a8", "#0000ff", "#e000e0"};
constexpr const char* kGrey = "#808080";

}  // namespace

Palette palette_for(Background background) {
    if (background == Background::dark) {
        return {"#1e1e1e", "#ffffff"};
    }
    return {"#ffffff", "#000000"};
}

const char* colour_for(int32_t number, Background background) {
    if (number >= 1 && number <= 6) {
        const auto& table = background == Background::dark ? kOnDark : kOnLight;
        return table[number - 1];
    }
    if (number == 7) {
        return palette_for(background).foreground;
    }
    return kGrey;
}

}  // namespace fad2svg
