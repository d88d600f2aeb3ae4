#include "tools/holechart_dxf/chart_marks.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tools/holechart_dxf/dxf_values.hpp"

namespace holechart_dxf {

namespace {

constexpr const char* kMarkText = "hole chart";
constexpr const char* kRowText = "hole row";

// A real as the chart writes it: every digit it needs to be read back as
// the same double.
std::string exact_real(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

}  // namespace

std::vector<std::pair<int, std::string>> chart_mark_pairs(const ListedHole* row) {
    std::vector<std::pair<int, std::string>> pairs = {{1000, kMarkText}};
    if (row != nullptr) {
        pairs.push_back({1000, kRowText});
        pairs.push_back({1040, std::to_string(row->number) + ".0"});
        pairs.push_back({1040, exact_real(row->center.x)});
        pairs.push_back({1040, exact_real(row->center.y)});
    }
    return pairs;
}

RowMark read_row_mark(const std::vector<DxfPair>& data, EarlierRow& row) {
    if (data.empty() || data[0].code != 1000 || data[0].value != kMarkText) {
        return RowMark::foreign;
    }
    if (data.size() == 1) {
        return RowMark::none;
    }
    double values[3] = {};
    if (data.size() != 5 || data[1].code != 1000 || data[1].value != kRowText) {
        return RowMark::bad;
    }
    for (int k = 0; k < 3; ++k) {
        const DxfPair& pair = data[static_cast<std::size_t>(k) + 2];
        if (pair.code != 1040 || !real_value(pair.value, values[k])) {
            return RowMark::bad;
        }
    }
    // A number that is no whole number, or beyond an int, is no row's.
    if (!(std::fabs(values[0]) <= 2147483647.0) || values[0] != std::floor(values[0])) {
        return RowMark::bad;
    }
    row.number = static_cast<int32_t>(values[0]);
    row.center = Point{values[1], values[2]};
    return RowMark::row;
}

bool rows_trusted(const std::vector<EarlierRow>& rows, std::string& reason) {
    std::vector<int32_t> numbers;
    numbers.reserve(rows.size());
    for (const EarlierRow& row : rows) {
        if (row.number < 1 || row.number > kHighestKeptNumber) {
            reason = "it numbers a hole " + std::to_string(row.number) + ", outside 1 to " +
                     std::to_string(kHighestKeptNumber);
            return false;
        }
        numbers.push_back(row.number);
    }
    std::sort(numbers.begin(), numbers.end());
    const auto twice = std::adjacent_find(numbers.begin(), numbers.end());
    if (twice != numbers.end()) {
        reason = "it gives the number " + std::to_string(*twice) + " to two holes";
        return false;
    }
    return true;
}

}  // namespace holechart_dxf
