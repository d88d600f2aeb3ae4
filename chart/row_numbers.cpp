#include "chart/row_numbers.hpp"

#include <algorithm>
#include <cmath>

#include "chart/hole_collection.hpp"

namespace {

// The earlier rows sorted by x, for finding the one at a centre.
struct EarlierIndex {
    std::vector<EarlierRow> rows;
    std::vector<bool> taken;

    explicit EarlierIndex(std::vector<EarlierRow> earlier) : rows(std::move(earlier)) {
        std::sort(rows.begin(), rows.end(), [](const EarlierRow& a, const EarlierRow& b) {
            return a.center.x < b.center.x || (a.center.x == b.center.x && a.number < b.number);
        });
        taken.assign(rows.size(), false);
    }

    // The nearest row not taken yet within the tolerance of centre, or -1.
    int take(Point centre) {
        const double tol = kCommonCentreTolerance;
        auto first =
            std::lower_bound(rows.begin(), rows.end(), centre.x - tol,
                             [](const EarlierRow& row, double x) { return row.center.x < x; });
        int best = -1;
        double best_distance = 0.0;
        for (auto it = first; it != rows.end() && it->center.x <= centre.x + tol; ++it) {
            const std::size_t k = static_cast<std::size_t>(it - rows.begin());
            const double dx = it->center.x - centre.x;
            const double dy = it->center.y - centre.y;
            if (taken[k] || !(std::fabs(dy) <= tol)) {
                continue;
            }
            const double distance = std::hypot(dx, dy);
            if (best < 0 || distance < best_distance) {
                best = static_cast<int>(k);
                best_distance = distance;
            }
        }
        if (best >= 0) {
            taken[static_cast<std::size_t>(best)] = true;
        }
        return best;
    }
};

}  // namespace

std::vector<int32_t> number_rows(const std::vector<int>& order, const EntityList& positions,
                                 int count, const std::vector<EarlierRow>& earlier,
                                 RowNumbering& numbering) {
    std::vector<int32_t> numbers(static_cast<std::size_t>(count > 0 ? count : 0), 0);
    numbering = RowNumbering{};
    int32_t next = 0;
    for (const EarlierRow& row : earlier) {
        next = std::max(next, row.number);
    }
    EarlierIndex index(earlier);
    for (const int slot : order) {
        const std::size_t s = static_cast<std::size_t>(slot);
        const int kept = earlier.empty() ? -1 : index.take(positions[s].center);
        if (kept >= 0) {
            numbers[s] = index.rows[static_cast<std::size_t>(kept)].number;
            numbering.kept += 1;
        } else {
            numbers[s] = ++next;
            numbering.fresh += earlier.empty() ? 0 : 1;
        }
    }
    for (std::size_t k = 0; k < index.rows.size(); ++k) {
        if (!index.taken[k]) {
            numbering.retired.push_back(index.rows[k].number);
        }
    }
    std::sort(numbering.retired.begin(), numbering.retired.end());
    return numbers;
}
