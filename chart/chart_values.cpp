#include "chart/chart_values.hpp"

#include <cmath>

namespace {

bool is_finite(double value) {
    return std::isfinite(value);
}

bool is_finite(Point p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

}  // namespace

bool hole_values_finite(const EntityList& positions, const std::vector<HoleTypeRow>& rows,
                        int count, double origin_x, double origin_y) {
    for (int t = 0; t < count; ++t) {
        const EntityRecord& position = positions[static_cast<std::size_t>(t)];
        if (!is_finite(position.center) || !is_finite(position.center.x - origin_x) ||
            !is_finite(position.center.y - origin_y)) {
            return false;
        }
        const HoleTypeRow& row = rows[static_cast<std::size_t>(t)];
        for (int k = 0; k < row.circle_count && k < kMaxCirclesPerRow; ++k) {
            if (!is_finite(2.0 * row.hole_radius[k]) || !is_finite(row.hole_sweep[k]) ||
                !is_finite(row.type_value[k])) {
                return false;
            }
        }
    }
    return true;
}

bool chart_entities_finite(const RunState& state) {
    for (int32_t i = 0; i < state.chart_count; ++i) {
        const EntityRecord& r = state.chart_list[static_cast<std::size_t>(i)];
        if (!is_finite(r.p1) || !is_finite(r.p2) || !is_finite(r.text_height) || !is_finite(r.angle)) {
            return false;
        }
    }
    return true;
}
