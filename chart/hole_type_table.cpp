#include "chart/hole_type_table.hpp"

#include <cmath>
#include <string>

#include "geometry/geometry.hpp"
#include "util/field_split.hpp"
#include "util/fixed_text.hpp"
#include "util/number_text.hpp"

namespace {

constexpr double kCountTolerance = 0.1;
constexpr double kSweepTolerance = 0.1;
constexpr double kPlaceTolerance = 0.01;

const std::string& field_or_empty(const FieldList& list, int index) {
    static const std::string empty;
    return index < list.count ? list.fields[static_cast<std::size_t>(index)] : empty;
}

// Radii and sweeps are taken as the position key prints them, with five
// decimals: the labels and the type comparison work on those values, and a
// value rounded otherwise could print a different last digit.
double rounded_as_in_key(double value) {
    std::string text;
    append_fixed(text, value, 5);
    return leading_real(text);
}

// Drafters in comma locales type the depth with a decimal comma ("2_12,5").
double depth_of(const FieldList& tag_parts) {
    return leading_real(replace_char(field_or_empty(tag_parts, 1), ',', '.'));
}

// What the position order looks at, kept small so that the quadratic loop
// runs in cache.
struct PositionView {
    signed char first_char;
    int32_t circle_count;
    const int32_t* type_code;
    double first_sweep;
    double x;
    double y;
};

PositionView view_of(const EntityRecord& record, const HoleTypeRow& row) {
    return PositionView{static_cast<signed char>(record.tag[0]),
                        row.circle_count,
                        row.type_code,
                        record.point_size,
                        record.center.x,
                        record.center.y};
}

bool views_exchange(const PositionView& i, const PositionView& j, double origin_x,
                    double origin_y) {
    if (i.first_char < j.first_char) {
        return true;
    }
    if (i.first_char > j.first_char) {
        return false;
    }
    double d = static_cast<double>(i.circle_count - j.circle_count);
    if (d < -kCountTolerance) {
        return true;
    }
    if (std::fabs(d) >= kCountTolerance) {
        return false;
    }
    for (int k = 0; k < i.circle_count && k < kMaxCirclesPerRow; ++k) {
        const int c = compare_ints_tol(i.type_code[k], j.type_code[k]);
        if (c < 0) {
            return true;
        }
        if (c > 0) {
            return false;
        }
    }
    d = i.first_sweep - j.first_sweep;
    if (d < -kSweepTolerance) {
        return true;
    }
    if (std::fabs(d) >= kSweepTolerance) {
        return false;
    }
    d = (i.y - origin_y) - (j.y - origin_y);
    if (d < -kPlaceTolerance) {
        return true;
    }
    if (std::fabs(d) >= kPlaceTolerance) {
        return false;
    }
    d = (i.x - origin_x) - (j.x - origin_x);
    return d > kPlaceTolerance;
}

}  // namespace

void add_hole_to_row(HoleTypeRow& row, const EntityRecord& hole) {
    if (row.circle_count < 0 || row.circle_count >= kMaxCirclesPerRow) {
        return;
    }
    const int k = row.circle_count;
    char tag[kTagSize];
    copy_text(tag, hole.tag);
    const FieldList tag_parts = split_fields(tag, '_');
    row.type_code[k] = leading_int(field_or_empty(tag_parts, 0));
    row.type_value[k] = depth_of(tag_parts);
    copy_text(row.style[k], hole.line_style);
    row.hole_radius[k] = rounded_as_in_key(hole.radius);
    row.hole_sweep[k] = rounded_as_in_key(hole.sweep);
    row.circle_count = k + 1;
}

bool should_exchange_positions(const EntityRecord& record_i, const HoleTypeRow& row_i,
                               const EntityRecord& record_j, const HoleTypeRow& row_j,
                               double origin_x, double origin_y) {
    return views_exchange(view_of(record_i, row_i), view_of(record_j, row_j), origin_x, origin_y);
}

void order_positions(EntityList& positions, std::vector<HoleTypeRow>& rows, int count,
                     double origin_x, double origin_y) {
    if (count <= 1) {
        return;
    }
    const std::size_t n = static_cast<std::size_t>(count);
    std::vector<PositionView> views(n);
    std::vector<std::size_t> order(n);
    for (std::size_t t = 0; t < n; ++t) {
        views[t] = view_of(positions[t], rows[t]);
        order[t] = t;
    }
    // The occupant of slot i stays in locals while j runs; an exchange puts
    // it into slot j and takes the position from there.
    for (std::size_t i = 0; i + 1 < n; ++i) {
        PositionView current = views[i];
        std::size_t current_index = order[i];
        for (std::size_t j = i + 1; j < n; ++j) {
            if (views_exchange(current, views[j], origin_x, origin_y)) {
                const PositionView later = views[j];
                const std::size_t later_index = order[j];
                views[j] = current;
                order[j] = current_index;
                current = later;
                current_index = later_index;
            }
        }
        views[i] = current;
        order[i] = current_index;
    }
    std::vector<EntityRecord> ordered_records;
    std::vector<HoleTypeRow> ordered_rows;
    ordered_records.reserve(n);
    ordered_rows.reserve(n);
    for (std::size_t t : order) {
        ordered_records.push_back(positions[t]);
        ordered_rows.push_back(rows[t]);
    }
    for (std::size_t t = 0; t < n; ++t) {
        positions[t] = ordered_records[t];
    }
    rows.swap(ordered_rows);
}
