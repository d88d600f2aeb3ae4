// Picking the holes out of the entity list, ordering them from the top row
// down and left to right, and merging concentric holes into hole positions.
// All three work in place on the driver's list.
#pragma once

#include <vector>

#include "chart/hole_type_table.hpp"
#include "entity/entity_record.hpp"

// Holes whose centres lie this close are at one position.
constexpr double kCommonCentreTolerance = 0.001;

// Longest position key a position record can hold.
constexpr std::size_t kMaxKeyChars = kKeyAreaSize - 1;

// A hole: shape "C", or shape "A" with a sweep above 180.
bool is_hole(const EntityRecord& record);

// Reads the holes of an exchange file: the records that read_entity_file
// reads, token for token, keeping only the holes, in file order, so that
// memory follows the holes and not the entities. The list holds them, a
// defaulted slot and a spare. False, with count 0, when the file is
// missing, empty or no regular file.
bool read_hole_records(const char* path, EntityList& holes, int& count);

// Moves the holes to the front of the list, in list order, giving untagged
// ones ("NONE", "NO") the tag "3_0". Returns their number.
int collect_holes(EntityList& list, int count);

// Puts records 0 to n - 1 into hole order, with exactly the exchanges of the
// exchange sort: for i, for j from i, exchange when the hole at j is higher,
// or in the same row (within 0.01) and further left, or in the same column
// too (within 0.01) and smaller.
void order_holes(EntityList& list, int n);

// The entry of one hole in a position key: "%s_%s_%.5f_%.5f" of tag,
// line style, radius and sweep.
std::string format_hole_entry(const EntityRecord& hole);

// The hole positions that build_positions made: records 0 to count - 1 of
// the list, and the type table row of each, in the same order.
struct HolePositions {
    int count = 0;
    std::vector<HoleTypeRow> rows;
};

// Merges runs of holes whose centres lie within 0.001 of the run's first
// hole into position records (records 0 to P - 1), each with its key in the
// key area and its first hole's sweep in point_size, and describes the first
// kMaxCirclesPerRow holes of each position, in hole order, in its row.
// A key that would pass kMaxKeyChars keeps only the entries that fit whole;
// the row does not depend on the key.
HolePositions build_positions(EntityList& list, int n);
