// Writes a scene as one SVG document.
#pragma once

#include <string>

#include "tools/fad2svg/options.hpp"
#include "tools/fad2svg/scene.hpp"

namespace fad2svg {

struct SvgStyle {
    Background background = Background::light;
    int width = 1000;  // pixels
};

// The view that a scene is drawn in, in drawing units (y upwards).
struct View {
    double min_x = 0.0;
    double min_y = 0.0;
    double width = 1.0;
    double height = 1.0;
    double stroke = 0.001;     // line width
    double text_height = 1.0;  // for labels without a height of their own
    int decimals = 3;          // of every coordinate written
};

View view_for(const Scene& scene);

std::string write_svg(const Scene& scene, const SvgStyle& style);

}  // namespace fad2svg
