// The hole type table: one row per hole position, described from the fields
// of the position's holes, and the chart order of positions and rows.
#pragma once

#include <cstdint>
#include <vector>

#include "entity/entity_record.hpp"

constexpr int kMaxCirclesPerRow = 10;
constexpr std::size_t kStyleSlotSize = 10;

// Per hole slot k, what the chart prints and compares. The names are the
// hole type table's of old, kept although two fields hold more than they say.
struct HoleTypeRow {
    int32_t circle_count = 0;
    // The tag's leading integer, used as the number of decimals (0 to 4) of
    // the hole's diameter and depth; slot 0's also sets the row's X and Y.
    int32_t type_code[kMaxCirclesPerRow] = {};
    // The tag's second part: the hole's depth, printed after "_X_" when
    // above zero; never compared between types.
    double type_value[kMaxCirclesPerRow] = {};
    char style[kMaxCirclesPerRow][kStyleSlotSize] = {};  // line style; "H..." labels get "B_"
    double hole_radius[kMaxCirclesPerRow] = {};
    double hole_sweep[kMaxCirclesPerRow] = {};  // 360 for a circle
};

// Describes the hole in the row's next slot; a row that already holds
// kMaxCirclesPerRow holes is left as it is. The tag "CODE_DEPTH" gives the
// type code (its leading integer) and the depth (a decimal comma reads as a
// point; no depth reads as 0; parts after the depth are ignored). The line
// style is kept whole up to the nine characters of its slot. Radius and
// sweep are rounded to five decimals.
void add_hole_to_row(HoleTypeRow& row, const EntityRecord& hole);

// True when the later position j should trade places with the earlier i.
bool should_exchange_positions(const EntityRecord& record_i, const HoleTypeRow& row_i,
                               const EntityRecord& record_j, const HoleTypeRow& row_j,
                               double origin_x, double origin_y);

// The exchange sort over positions and rows together, with exactly the
// exchanges of the literal loop: for i, for j after i, exchange when
// should_exchange_positions says so.
void order_positions(EntityList& positions, std::vector<HoleTypeRow>& rows, int count,
                     double origin_x, double origin_y);
