// Generates large, realistic exchange files for the benchmarks: every entity
// kind, coordinates of a mechanical drawing written as the front end writes
// them ("%.12f"), and a given number of holes among them.
#pragma once

#include <cstdint>
#include <string>

struct GeneratedDrawing {
    std::string text;
    int entities = 0;
    int holes = 0;
};

// entities in all, of which holes are circles or tapped holes (circle plus a
// 270-degree arc around the same centre count as two holes).
GeneratedDrawing generate_drawing(int entities, int holes, uint32_t seed);
