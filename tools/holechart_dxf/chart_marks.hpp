// The extended data that marks the chart's entities as its own (under
// kChartApplication), so that a later run replaces them, and the row that
// the number at each hole records in it, so that a later run can keep the
// numbers:
//
//     1001 HOLECHART_CHART    1000 hole chart
//     1000 hole row           1040 number   1040 centre x   1040 centre y
//
// Plain reals (1040) are moved and scaled by no CAD program.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "chart/run_state.hpp"
#include "tools/holechart_dxf/dxf_pairs.hpp"

namespace holechart_dxf {

// The highest number a kept row may have.
constexpr int32_t kHighestKeptNumber = 1000000;

// The pairs after the 1001 pair: the mark, and for the number at a hole
// (row not null) its row.
std::vector<std::pair<int, std::string>> chart_mark_pairs(const ListedHole* row);

// What the pairs after a 1001 pair of the chart's application say.
enum class RowMark {
    none,     // a chart entity without a row
    row,      // the number at a hole, with its row
    bad,      // the chart's mark, but a row that does not read
    foreign,  // not the mark this program writes
};
RowMark read_row_mark(const std::vector<DxfPair>& data, EarlierRow& row);

// Whether the rows of an earlier chart can be trusted to keep their numbers:
// no number twice and every number from 1 to kHighestKeptNumber. False with
// the reason when not.
bool rows_trusted(const std::vector<EarlierRow>& rows, std::string& reason);

}  // namespace holechart_dxf
