#include "chart/chart_layout.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "chart/chart_dimensions.hpp"
#include "chart/chart_primitives.hpp"
#include "chart/row_numbers.hpp"

namespace {

constexpr double kSameRadius = 0.001;
constexpr double kSameSweep = 10.0;

// The x positions of one table column. Each length of n units is formed as
// one division n / unit_factor, so results match to the last bit.
struct ColumnGeometry {
    double xr;         // outer right line
    double y_sep;      // between the X and Y cells
    double x_sep;      // between the number and X cells
    double xl;         // outer left line
    double count_x;    // count text of a type block
    double number_x;   // hole number of a row
    double label_x;    // labels of a type block
    double x_value_x;  // centre of the X cell
    double y_value_x;  // centre of the Y cell
};

ColumnGeometry column_at(double xr, double u) {
    ColumnGeometry g{};
    g.xr = xr;
    g.y_sep = xr - kYSeparatorFromRight / u;
    g.x_sep = xr - kXSeparatorFromRight / u;
    g.xl = xr - kColumnWidth / u;
    g.count_x = g.xl + kCountTextInset / u;
    g.number_x = g.xl + kNumberInset / u;
    g.label_x = g.xl + kLabelInset / u;
    g.x_value_x = g.x_sep + kValueCentreInset / u;
    g.y_value_x = g.y_sep + kValueCentreInset / u;
    return g;
}

bool starts_with_h(const char* style) {
    return style[0] == 'H';
}

std::string plain_label(const HoleTypeRow& row, int k) {
    std::string label = starts_with_h(row.style[k]) ? "B_%%C" : "%%C";
    label += format_chart_number(2.0 * row.hole_radius[k], row.type_code[k]);
    if (row.type_value[k] > kValueFloor) {
        label += "_X_";
        label += format_chart_number(row.type_value[k], row.type_code[k]);
    }
    return label;
}

// Circle k with the arc k + 1 around it: a tapped hole, named by the arc.
std::string tapped_label(const HoleTypeRow& row, int k) {
    std::string label = starts_with_h(row.style[k]) ? "B_" : "";
    label += thread_size_text(row, k + 1);
    if (row.type_value[k + 1] >= kValueFloor) {
        // Joined like the plain label's depth: an exchange file text is one
        // token, and a blank would split the label into the next record.
        label += "_X_";
        label += format_chart_number(row.type_value[k + 1], row.type_code[k + 1]);
    }
    label += "_TAP";
    return label;
}

}  // namespace

bool is_tapping_arc(double sweep) {
    return kTappingSweepLow < sweep && sweep < kTappingSweepHigh;
}

std::string thread_size_text(const HoleTypeRow& row, int arc) {
    return "M" + format_chart_number(2.0 * row.hole_radius[arc], 0);
}

bool same_hole_type(const HoleTypeRow& a, const HoleTypeRow& b) {
    if (a.circle_count != b.circle_count) {
        return false;
    }
    for (int k = 0; k < a.circle_count && k < kMaxCirclesPerRow; ++k) {
        if (a.type_code[k] != b.type_code[k] || std::strcmp(a.style[k], b.style[k]) != 0 ||
            !(std::fabs(a.hole_radius[k] - b.hole_radius[k]) <= kSameRadius) ||
            !(std::fabs(a.hole_sweep[k] - b.hole_sweep[k]) <= kSameSweep)) {
            return false;
        }
    }
    return true;
}

std::vector<std::string> compose_hole_labels(const HoleTypeRow& row) {
    std::vector<std::string> labels;
    const int c = row.circle_count < kMaxCirclesPerRow ? row.circle_count : kMaxCirclesPerRow;
    int k = 0;
    while (k < c) {
        if (k + 1 < c && is_tapping_arc(row.hole_sweep[k + 1])) {
            labels.push_back(tapped_label(row, k));
            k += 1;
        } else {
            labels.push_back(plain_label(row, k));
        }
        k += 1;
    }
    return labels;
}

namespace {

// Where the layout stands: the current column, and the y where the next
// piece (a type block or a hole row) starts.
struct LayoutCursor {
    double u;             // unit_factor
    double top;           // every column hangs from the window's top
    double bottom_limit;  // a piece whose top lies below it opens a new column
    ColumnGeometry column;
    double y;
};

// Where a type block writes its count text and labels: beside its own top,
// even when its rows run on into later columns.
struct BlockPlace {
    double count_x;
    double label_x;
    double top;
};

// Closes the current column with its outer lines from the top down to
// bottom, and starts the next one to its left with its header.
void open_next_column(RunState& state, LayoutCursor& at, double bottom) {
    chart_add_line(state, at.column.xr, at.top, at.column.xr, bottom);
    chart_add_line(state, at.column.xl, at.top, at.column.xl, bottom);
    at.column = column_at(at.column.xl - kColumnGap / at.u, at.u);
    chart_add_header(state, at.column.xr, at.top);
}

BlockPlace draw_type_block(RunState& state, LayoutCursor& at, int32_t circles) {
    const double u = at.u;
    double top = at.y;
    double bottom = top - (kBlockHeightPerCircle * circles + kBlockBaseHeight) / u;
    if (bottom < at.bottom_limit) {
        // Not tested again: a block too high for a fresh column is drawn
        // anyway, and its first row then opens another column.
        open_next_column(state, at, top);
        top = at.top - kHeaderHeight / u;
        bottom = top - (kBlockHeightPerCircle * circles + kOpeningBlockBaseHeight) / u;
    }
    chart_add_line(state, at.column.xr, top, at.column.xl, top);
    chart_add_line(state, at.column.xr, bottom, at.column.xl, bottom);
    at.y = bottom;
    return BlockPlace{at.column.count_x, at.column.label_x, top};
}

// One numbered row with the position's coordinates, and its number at the
// hole itself; listed under the type block numbered type.
void add_hole_row(RunState& state, LayoutCursor& at, const EntityRecord& position,
                  const HoleTypeRow& row, int32_t type, int32_t number) {
    const double u = at.u;
    // The test is on the row's top, so a row may end a little below y1.
    if (at.y < at.bottom_limit) {
        open_next_column(state, at, at.y);
        at.y = at.top - kHeaderHeight / u;
        chart_add_line(state, at.column.xr, at.y, at.column.xl, at.y);
    }
    const ColumnGeometry& g = at.column;
    const double row_bottom = at.y - kRowHeight / u;
    const double text_y = at.y - kTextBaselineDrop / u;
    chart_add_line(state, g.xr, row_bottom, g.xl, row_bottom);
    chart_add_line(state, g.x_sep, at.y, g.x_sep, row_bottom);
    chart_add_line(state, g.y_sep, at.y, g.y_sep, row_bottom);
    chart_add_number(state, g.number_x, text_y, number);
    // The first circle's decimals; a code outside 0 to 4 prints with the
    // nearest of them, as in the labels, so that no row lacks coordinates.
    const int decimals = row.type_code[0];
    const double dx = position.center.x - state.origin_x;
    const double dy = position.center.y - state.origin_y;
    std::string x_text = chart_add_value(state, g.x_value_x, text_y, dx, decimals);
    std::string y_text = chart_add_value(state, g.y_value_x, text_y, dy, decimals);
    const int32_t mark = state.chart_count;
    chart_add_hole_mark(state, position.center.x, position.center.y, number);
    at.y = row_bottom;
    state.listing.holes.push_back(
        ListedHole{number, type, position.center, std::move(x_text), std::move(y_text), mark});
}

// A type block of the chart: the slot of the position that leads it, and the
// slots of the positions listed under it, the leader first.
struct PlannedBlock {
    int leader;
    std::vector<int> slots;
};

// The chart's blocks in chart order. Every position is listed exactly once:
// it leads a type block of its own unless an earlier leader has listed it
// under its block, in chart order.
std::vector<PlannedBlock> plan_blocks(const std::vector<HoleTypeRow>& rows, int count) {
    std::vector<PlannedBlock> blocks;
    std::vector<bool> listed(static_cast<std::size_t>(count > 0 ? count : 0), false);
    for (int i = 0; i < count; ++i) {
        if (listed[static_cast<std::size_t>(i)]) {
            continue;
        }
        PlannedBlock block{i, {}};
        for (int j = i; j < count; ++j) {
            const std::size_t slot = static_cast<std::size_t>(j);
            if (!listed[slot] && same_hole_type(rows[static_cast<std::size_t>(i)], rows[slot])) {
                block.slots.push_back(j);
                listed[slot] = true;
            }
        }
        blocks.push_back(std::move(block));
    }
    return blocks;
}

// The number of each slot: 1, 2, ... in chart order, or kept from the
// earlier chart of the state; within a block, rows then stand in number
// order.
std::vector<int32_t> plan_numbers(RunState& state, std::vector<PlannedBlock>& blocks,
                                  const EntityList& positions, int count) {
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
    for (const PlannedBlock& block : blocks) {
        order.insert(order.end(), block.slots.begin(), block.slots.end());
    }
    std::vector<int32_t> numbers =
        number_rows(order, positions, count, state.earlier_rows, state.listing.numbering);
    for (PlannedBlock& block : blocks) {
        std::stable_sort(block.slots.begin(), block.slots.end(), [&](int a, int b) {
            return numbers[static_cast<std::size_t>(a)] < numbers[static_cast<std::size_t>(b)];
        });
    }
    return numbers;
}

// The count text, and the labels from the count text's line down.
void write_count_and_labels(RunState& state, const BlockPlace& block, const ListedType& type) {
    const double u = state.unit_factor;
    const double first_line = block.top - kLabelLineDrop / u;
    const std::string count_text = std::to_string(type.rows) + ")";
    chart_add_text(state, block.count_x, first_line, count_text.c_str());
    double label_y = first_line;
    for (const std::string& label : type.labels) {
        chart_add_text(state, block.label_x, label_y, label.c_str());
        label_y = label_y - kLabelLineDrop / u;
    }
}

}  // namespace

void draw_hole_chart(RunState& state, const EntityList& positions,
                     const std::vector<HoleTypeRow>& rows, int count) {
    const double u = state.unit_factor;
    const double top = state.window.y2;
    LayoutCursor at{u, top, state.window.y1 + kBottomMargin / u, column_at(state.window.x2, u),
                    top - kHeaderHeight / u};
    if (count > 0) {
        chart_add_header(state, at.column.xr, top);
    }
    std::vector<PlannedBlock> blocks = plan_blocks(rows, count);
    const std::vector<int32_t> numbers = plan_numbers(state, blocks, positions, count);
    for (const PlannedBlock& block : blocks) {
        const HoleTypeRow& row = rows[static_cast<std::size_t>(block.leader)];
        const BlockPlace place = draw_type_block(state, at, row.circle_count);
        const int32_t type = static_cast<int32_t>(state.listing.types.size()) + 1;
        for (const int slot : block.slots) {
            const std::size_t s = static_cast<std::size_t>(slot);
            add_hole_row(state, at, positions[s], rows[s], type, numbers[s]);
        }
        ListedType listed{row, static_cast<int32_t>(block.slots.size()), compose_hole_labels(row)};
        write_count_and_labels(state, place, listed);
        state.listing.types.push_back(std::move(listed));
    }
    chart_add_line(state, at.column.xr, top, at.column.xr, at.y);
    chart_add_line(state, at.column.xl, top, at.column.xl, at.y);
}
