#include "chart/chart_values.hpp"

#include <cmath>

namespace {

bool is_finite(double value) {
    return std::isfinite(value);
}

bool is_finite(Point p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

bool in_range(double value) {
    return std::fabs(value) <= kMaxChartValue;  // false for a NaN too
}

bool in_range(Point p) {
    return in_range(p.x) && in_range(p.y);
}

}  // namespace

bool hole_records_finite(const EntityList& holes, int n) {
    for (int i = 0; i < n; ++i) {
        const EntityRecord& hole = holes[static_cast<std::size_t>(i)];
        if (!is_finite(hole.center) || !is_finite(hole.radius) || !is_finite(hole.sweep)) {
            return false;
        }
    }
    return true;
}

bool hole_values_usable(const EntityList& positions, const std::vector<HoleTypeRow>& rows,
                        int count, double origin_x, double origin_y) {
    for (int t = 0; t < count; ++t) {
        const EntityRecord& position = positions[static_cast<std::size_t>(t)];
        if (!is_finite(position.center) || !is_finite(position.center.x - origin_x) ||
            !is_finite(position.center.y - origin_y)) {
            return false;
        }
        const HoleTypeRow& row = rows[static_cast<std::size_t>(t)];
        if (row.circle_count < 1) {
            return false;
        }
        for (int k = 0; k < row.circle_count && k < kMaxCirclesPerRow; ++k) {
            // A label prints its diameter in full: one beyond the chart's
            // range is no more usable than a coordinate there.
            if (!in_range(2.0 * row.hole_radius[k]) || !is_finite(row.hole_sweep[k]) ||
                !is_finite(row.type_value[k])) {
                return false;
            }
        }
    }
    return true;
}

bool chart_entities_in_range(const RunState& state) {
    for (int32_t i = 0; i < state.chart_count; ++i) {
        const EntityRecord& r = state.chart_list[static_cast<std::size_t>(i)];
        if (!in_range(r.p1) || !in_range(r.p2) || !in_range(r.text_height) || !in_range(r.angle)) {
            return false;
        }
    }
    return true;
}
