#include "chart/chart_layout.hpp"

#include <cmath>
#include <cstring>

#include "chart/chart_primitives.hpp"

namespace {

constexpr double kSameRadius = 0.001;
constexpr double kSameSweep = 10.0;
constexpr double kValueFloor = 0.00001;

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
    g.y_sep = xr - 30.0 / u;
    g.x_sep = xr - 60.0 / u;
    g.xl = xr - 70.0 / u;
    g.count_x = g.xl + 1.0 / u;
    g.number_x = g.xl + 2.0 / u;
    g.label_x = g.xl + 10.0 / u;
    g.x_value_x = g.x_sep + 15.0 / u;
    g.y_value_x = g.y_sep + 15.0 / u;
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
    std::string label = starts_with_h(row.style[k]) ? "B_M" : "M";
    label += format_chart_number(2.0 * row.hole_radius[k + 1], 0);
    if (row.type_value[k + 1] >= kValueFloor) {
        // Joined like the plain label's depth: an exchange file text is one
        // token, and a blank would split the label into the next record.
        label += "_X_";
        label += format_chart_number(row.type_value[k + 1], row.type_code[k + 1]);
    }
    label += "_TAP";
    return label;
}

bool is_tapping_arc(double sweep) {
    return 250.0 < sweep && sweep < 350.0;
}

}  // namespace

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

void draw_hole_chart(RunState& state, EntityList& positions, const std::vector<HoleTypeRow>& rows,
                     int count) {
    const double u = state.unit_factor;
    const double y2 = state.window.y2;
    const double bottom_limit = state.window.y1 + 7.9 / u;

    ColumnGeometry g = column_at(state.window.x2, u);
    double y = y2 - 8.0 / u;
    int32_t hole_number = 0;

    for (int i = 0; i < count; ++i) {
        EntityRecord& leader = positions[static_cast<std::size_t>(i)];
        if (leader.id == 0) {
            continue;
        }
        if (i == 0) {
            chart_add_header(state, g.xr, y2);
        }
        const HoleTypeRow& row = rows[static_cast<std::size_t>(i)];

        // The type block.
        const int c = row.circle_count;
        double block_top = y;
        double block_bottom = block_top - (4 * c + 10) / u;
        if (block_bottom < bottom_limit) {
            chart_add_line(state, g.xr, y2, g.xr, block_top);
            chart_add_line(state, g.xl, y2, g.xl, block_top);
            g = column_at(g.xl - 3.0 / u, u);
            block_top = y2 - 8.0 / u;
            // A block that opens a column is 2 units lower than elsewhere.
            block_bottom = block_top - (4 * c + 8) / u;
            chart_add_header(state, g.xr, y2);
        }
        chart_add_line(state, g.xr, block_top, g.xl, block_top);
        chart_add_line(state, g.xr, block_bottom, g.xl, block_bottom);
        y = block_bottom;
        // The count text and labels stay with the block even when its rows
        // run on into later columns.
        const double count_x = g.count_x;
        const double label_x = g.label_x;
        int32_t rows_of_type = 0;

        // The rows of every position of this type, listed ones included.
        for (int j = 0; j < count; ++j) {
            const HoleTypeRow& other = rows[static_cast<std::size_t>(j)];
            if (!same_hole_type(row, other)) {
                continue;
            }
            EntityRecord& position = positions[static_cast<std::size_t>(j)];
            hole_number += 1;
            if (y < bottom_limit) {
                chart_add_line(state, g.xr, y2, g.xr, y);
                chart_add_line(state, g.xl, y2, g.xl, y);
                g = column_at(g.xl - 3.0 / u, u);
                y = y2 - 8.0 / u;
                chart_add_header(state, g.xr, y2);
                chart_add_line(state, g.xr, y, g.xl, y);
            }
            const double row_bottom = y - 8.0 / u;
            const double text_y = y - 5.6 / u;
            const double dx = position.center.x - state.origin_x;
            const double dy = position.center.y - state.origin_y;
            chart_add_line(state, g.xr, row_bottom, g.xl, row_bottom);
            chart_add_line(state, g.x_sep, y, g.x_sep, row_bottom);
            chart_add_line(state, g.y_sep, y, g.y_sep, row_bottom);
            chart_add_number(state, g.number_x, text_y, hole_number);
            const int32_t decimals = other.type_code[0];
            if (decimals >= 0 && decimals <= 4) {
                chart_add_value(state, g.x_value_x, text_y, dx, decimals);
                chart_add_value(state, g.y_value_x, text_y, dy, decimals);
            }
            chart_add_hole_mark(state, position.center.x, position.center.y, hole_number);
            rows_of_type += 1;
            y = row_bottom;
            position.id = 0;
        }

        // The count text, and the labels from the count text's line down.
        const std::string count_text = std::to_string(rows_of_type) + ")";
        chart_add_text(state, count_x, block_top - 5.0 / u, count_text.c_str());
        double label_y = block_top - 5.0 / u;
        for (const std::string& label : compose_hole_labels(row)) {
            chart_add_text(state, label_x, label_y, label.c_str());
            label_y = label_y - 5.0 / u;
        }
    }
    chart_add_line(state, g.xr, y2, g.xr, y);
    chart_add_line(state, g.xl, y2, g.xl, y);
}
