// The hole type table: one row per hole position, parsed from the position
// keys, and the chart order of positions and rows.
#pragma once

#include <cstdint>
#include <vector>

#include "entity/entity_record.hpp"

constexpr int kMaxCirclesPerRow = 10;
constexpr std::size_t kStyleSlotSize = 10;

struct HoleTypeRow {
    int32_t circle_count = 0;
    int32_t type_code[kMaxCirclesPerRow] = {};
    double type_value[kMaxCirclesPerRow] = {};
    char style[kMaxCirclesPerRow][kStyleSlotSize] = {};
    double hole_radius[kMaxCirclesPerRow] = {};
    double hole_sweep[kMaxCirclesPerRow] = {};
};

// Parses the first 255 characters of each position key. An entry cut by that
// limit is left out; a key with more than ten entries fills the ten slots
// and leaves the rest out (circle_count is at most 10); a style longer than
// nine characters is cut to nine.
std::vector<HoleTypeRow> parse_type_rows(const EntityList& positions, int count);

// True when the later position j should trade places with the earlier i.
bool should_exchange_positions(const EntityRecord& record_i, const HoleTypeRow& row_i,
                               const EntityRecord& record_j, const HoleTypeRow& row_j,
                               double origin_x, double origin_y);

// The exchange sort over positions and rows together, with exactly the
// exchanges of the literal loop: for i, for j after i, exchange when
// should_exchange_positions says so.
void order_positions(EntityList& positions, std::vector<HoleTypeRow>& rows, int count,
                     double origin_x, double origin_y);
