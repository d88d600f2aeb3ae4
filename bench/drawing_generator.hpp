// Generates large, realistic exchange files for the benchmarks: every entity
// kind, coordinates of a mechanical drawing written as the front end writes
// them ("%.12f"), and a given number of holes among them.
#pragma once

#include <cstdint>
#include <string>

// Where the holes lie and in which order the drawing lists them.
enum class HoleLayout {
    scattered,          // anywhere on the sheet, every fifth a tapped hole
    grid_bottom_up,     // a square grid, rows listed bottom-up (as array commands make it)
    row_right_to_left,  // one long row, listed from its right end
    one_centre,         // all concentric, radii and sweeps cycling
    tolerance_chain,    // rows 0.005 apart, arcs whose sweeps lie 5 degrees apart
    duplicates,         // every hole drawn four times over
    ten_centres,        // copies of ten holes, three of them within the row tolerance in height
    row_chain,          // rows 0.005 apart, one hole each, anywhere across the sheet
    sweep_chain,        // a grid of arcs whose sweeps lie 0.05 degrees apart
    rotated_lattice,    // a grid turned by 0.1 degrees, rows listed bottom-up
};

// A short name of the layout for benchmark labels.
const char* hole_layout_name(HoleLayout layout);

struct GeneratedDrawing {
    std::string text;
    int entities = 0;
    int holes = 0;
};

// entities in all, of which holes are circles or tapped holes (circle plus a
// 270-degree arc around the same centre count as two holes).
GeneratedDrawing generate_drawing(int entities, int holes, uint32_t seed,
                                  HoleLayout layout = HoleLayout::scattered);
