#include "chart/hole_type_table.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>

#include "chart/exchange_sort.hpp"
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

// The last steps of the position order, on a value less the origin's where
// it is a place: a larger sweep of the first hole (by more than the sweep
// tolerance), then a higher centre, then a centre further left (by more than
// the place tolerance) go first; within every tolerance, the order is kept.
//
// place_step must be monotone in both values (see exchange_loop.hpp): a
// rounded difference compared with a tolerance is, so the level cuts
// (`separates`) and the searches of the leaves hold.
enum PlaceKind { kSweepKind = 1, kRowKind = 2, kColumnKind = 3 };

Step place_step(int kind, double occupant, double later) {
    const double d = occupant - later;
    if (kind == kColumnKind) {
        return d > kPlaceTolerance ? Step::exchange : Step::keep;
    }
    const double tolerance = kind == kSweepKind ? kSweepTolerance : kPlaceTolerance;
    if (d < -tolerance) {
        return Step::exchange;
    }
    return std::fabs(d) >= tolerance ? Step::keep : Step::next;
}

bool views_exchange(const PositionView& i, const PositionView& j, double origin_x,
                    double origin_y) {
    if (i.first_char < j.first_char) {
        return true;
    }
    if (i.first_char > j.first_char) {
        return false;
    }
    const double d = static_cast<double>(i.circle_count - j.circle_count);
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
    Step step = place_step(kSweepKind, i.first_sweep, j.first_sweep);
    if (step == Step::next) {
        step = place_step(kRowKind, i.y - origin_y, j.y - origin_y);
    }
    if (step == Step::next) {
        step = place_step(kColumnKind, i.x - origin_x, j.x - origin_x);
    }
    return step == Step::exchange;
}

// The same decision for the order by levels: the leading steps (first tag
// character, hole count, type codes) are exact comparisons of integers, so
// they become one rank per distinct combination (highest first); sweep and
// centre are the values the place steps subtract.
struct RankedPosition {
    double sweep;
    double y;  // centre y less the origin's
    double x;  // centre x less the origin's
    int32_t rank;
    std::size_t index;
};

struct PositionOrderTraits {
    using Item = RankedPosition;
    static constexpr int kValues = 4;
    static double value(const Item& item, int kind) {
        switch (kind) {
            case 0:
                return static_cast<double>(item.rank);
            case kSweepKind:
                return item.sweep;
            case kRowKind:
                return item.y;
            default:
                return item.x;
        }
    }
    static bool descending(int kind) { return kind < kColumnKind; }
    static Step step(int kind, double occupant, double later) {
        if (kind == 0) {
            return occupant < later ? Step::exchange : occupant > later ? Step::keep : Step::next;
        }
        return place_step(kind, occupant, later);
    }
};
static_assert(HasOrderTraitsShape<PositionOrderTraits>::value, "the position order's traits");

// The leading steps compare the first tag character, the counts as the
// difference of two small integers and the codes as a wrapped 32-bit
// difference: exact comparisons of integers as long as no difference can
// wrap. Returns false when a row lies outside that (then no ranks).
constexpr int32_t kRankedCodeLimit = int32_t{1} << 30;

bool rank_positions(const std::vector<PositionView>& views, std::vector<int32_t>& ranks) {
    for (const PositionView& v : views) {
        if (v.circle_count < 0 || v.circle_count > kMaxCirclesPerRow) {
            return false;
        }
        for (int k = 0; k < v.circle_count; ++k) {
            if (v.type_code[k] < -kRankedCodeLimit || v.type_code[k] >= kRankedCodeLimit) {
                return false;
            }
        }
    }
    // Lower rank for what the order puts later: the loop exchanges when the
    // earlier slot's leading values are the smaller ones.
    const auto before = [&](std::size_t a, std::size_t b) {
        const PositionView& p = views[a];
        const PositionView& q = views[b];
        if (p.first_char != q.first_char) {
            return p.first_char < q.first_char;
        }
        if (p.circle_count != q.circle_count) {
            return p.circle_count < q.circle_count;
        }
        return std::lexicographical_compare(p.type_code, p.type_code + p.circle_count, q.type_code,
                                            q.type_code + q.circle_count);
    };
    std::vector<std::size_t> sorted(views.size());
    for (std::size_t t = 0; t < sorted.size(); ++t) {
        sorted[t] = t;
    }
    std::sort(sorted.begin(), sorted.end(), before);
    ranks.assign(views.size(), 0);
    int32_t rank = 0;
    for (std::size_t k = 0; k < sorted.size(); ++k) {
        if (k > 0 && before(sorted[k - 1], sorted[k])) {
            ++rank;
        }
        ranks[sorted[k]] = rank;
    }
    return true;
}

// The order by levels over ranked positions; false (and nothing done) when
// ranks cannot be had, a value to subtract is not finite, or the levels
// would take longer than the loop.
bool order_views_by_rank(const std::vector<PositionView>& views, double origin_x, double origin_y,
                         std::vector<std::size_t>& order) {
    std::vector<int32_t> ranks;
    if (!rank_positions(views, ranks)) {
        return false;
    }
    std::vector<RankedPosition> items(views.size());
    for (std::size_t t = 0; t < views.size(); ++t) {
        const PositionView& v = views[t];
        items[t] = RankedPosition{v.first_sweep, v.y - origin_y, v.x - origin_x, ranks[t], t};
    }
    return LevelOrder<PositionOrderTraits>::order_by_levels(items, order);
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
    for (std::size_t t = 0; t < n; ++t) {
        views[t] = view_of(positions[t], rows[t]);
    }
    std::vector<std::size_t> order;
    if (!order_views_by_rank(views, origin_x, origin_y, order)) {
        // What cannot be ranked, or would take longer by levels: the loop
        // itself, over the views (small, so that it runs in cache).
        std::vector<std::pair<PositionView, std::size_t>> slots(n);
        for (std::size_t t = 0; t < n; ++t) {
            slots[t] = {views[t], t};
        }
        run_exchange_loop(slots, [&](const auto& occupant, const auto& later) {
            return views_exchange(occupant.first, later.first, origin_x, origin_y);
        });
        order.resize(n);
        for (std::size_t t = 0; t < n; ++t) {
            order[t] = slots[t].second;
        }
    }
    apply_order(positions, order);
    apply_order(rows, order);
}
