// The numbers of a chart's rows. They run 1, 2, ... in chart order, unless
// the rows of an earlier chart of the drawing are given: then a position
// whose centre lies within kCommonCentreTolerance of an earlier row's centre
// keeps that row's number, the other positions are numbered on from the
// highest earlier number in chart order, and the numbers of earlier rows
// that no position keeps are retired: never given again.
#pragma once

#include <cstdint>
#include <vector>

#include "chart/run_state.hpp"
#include "entity/entity_record.hpp"

// order: the position slots (0 to count - 1) in chart order. Returns the
// number of each slot, and says in numbering how they were given.
std::vector<int32_t> number_rows(const std::vector<int>& order, const EntityList& positions,
                                 int count, const std::vector<EarlierRow>& earlier,
                                 RowNumbering& numbering);
