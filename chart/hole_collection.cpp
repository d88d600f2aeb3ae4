#include "chart/hole_collection.hpp"

#include <cmath>
#include <cstring>
#include <vector>

#include "chart/exchange_sort.hpp"
#include "entity/entity_file.hpp"
#include "entity/token_stream.hpp"
#include "geometry/geometry.hpp"
#include "util/fixed_text.hpp"
#include "util/number_text.hpp"

namespace {

constexpr double kRowTolerance = 0.01;

// What the exchange sort looks at, kept small so that the quadratic loop
// runs in cache; the records themselves move once, at the end.
struct HoleSortKey {
    double x;
    double y;
    double radius;
    int index;
};

// The hole order, kind by kind: rows (y, highest first), then columns within
// a row (x, leftmost first), then radii within a column (smallest first). The
// hole at a later slot is exchanged forward when it lies higher, by however
// little; when it is not higher but less than the row tolerance lower, x
// decides, and within the row tolerance in x too, the radius.
//
// step must be monotone in both values (see exchange_loop.hpp): a rounded
// difference compared with a tolerance is, so the level cuts (`separates`)
// and the searches of the leaves hold.
struct HoleOrderTraits {
    using Item = HoleSortKey;
    static constexpr int kValues = 3;
    static double value(const Item& item, int kind) {
        return kind == 0 ? item.y : kind == 1 ? item.x : item.radius;
    }
    static bool descending(int kind) { return kind == 0; }
    static Step step(int kind, double occupant, double later) {
        switch (kind) {
            case 0:
                if (occupant < later) {
                    return Step::exchange;
                }
                return occupant - later < kRowTolerance ? Step::next : Step::keep;
            case 1:
                if (occupant > later) {
                    return Step::exchange;
                }
                return later - occupant < kRowTolerance ? Step::next : Step::keep;
            default:
                return occupant > later ? Step::exchange : Step::keep;
        }
    }
};
static_assert(HasOrderTraitsShape<HoleOrderTraits>::value, "the hole order's traits");

}  // namespace

bool is_hole(const EntityRecord& record) {
    if (has_shape(record, "C")) {
        return true;
    }
    return has_shape(record, "A") && record.sweep > kHalfTurn;
}

bool read_hole_records(const char* path, EntityList& holes, int& count) {
    count = 0;
    holes = EntityList{};
    TokenStream stream;
    int records = 0;
    if (!open_entity_records(path, stream, records)) {
        return false;
    }
    EntityRecord record;
    for (int i = 0; i < records; ++i) {
        default_entity_head(record);
        read_entity_head(stream, record);
        // Only a record of shape "C" or "A" can be a hole: the body of any
        // other is passed over unread.
        if (!has_shape(record, "C") && !has_shape(record, "A")) {
            skip_entity_body(stream, record);
            continue;
        }
        default_entity_body(record);
        read_entity_body(stream, record);
        if (is_hole(record)) {
            reserve_for_appends(holes.records, holes.records.size() + 1);
            allocate_or_fail("Memori ERROR\n", [&] { holes.records.push_back(record); });
        }
    }
    token_stream_close(stream);
    count = static_cast<int>(holes.records.size());
    // The defaulted slot after the records and the spare, as in every list.
    allocate_or_fail("Memori ERROR\n", [&] { holes.records.resize(holes.records.size() + 2); });
    return true;
}

int collect_holes(EntityList& list, int count) {
    int k = 0;
    for (int i = 0; i < count; ++i) {
        EntityRecord& record = list[static_cast<std::size_t>(i)];
        if (!is_hole(record)) {
            continue;
        }
        if (std::strcmp(record.tag, "NONE") == 0 || std::strcmp(record.tag, "NO") == 0) {
            copy_text(record.tag, "3_0");
        }
        if (k != i) {
            list[static_cast<std::size_t>(k)] = record;
        }
        ++k;
    }
    return k;
}

void order_holes(EntityList& list, int n) {
    if (n <= 1) {
        return;
    }
    std::vector<HoleSortKey> keys(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const EntityRecord& r = list[static_cast<std::size_t>(i)];
        keys[static_cast<std::size_t>(i)] = HoleSortKey{r.center.x, r.center.y, r.radius, i};
    }
    std::vector<std::size_t> order;
    if (!LevelOrder<HoleOrderTraits>::order_by_levels(keys, order)) {
        // What the levels cannot take (a NaN or an infinity, which the chart
        // pass never sorts) or would take longer on: the loop itself.
        run_exchange_loop(keys, exchanges<HoleOrderTraits>);
        order.resize(keys.size());
        for (std::size_t i = 0; i < keys.size(); ++i) {
            order[i] = static_cast<std::size_t>(keys[i].index);
        }
    }
    apply_order(list, order);
}

std::string format_hole_entry(const EntityRecord& hole) {
    std::string entry(hole.tag);
    entry.push_back('_');
    entry.append(hole.line_style);
    entry.push_back('_');
    append_fixed(entry, hole.radius, 5);
    entry.push_back('_');
    append_fixed(entry, hole.sweep, 5);
    return entry;
}

HolePositions build_positions(EntityList& list, int n) {
    HolePositions positions;
    // At most one position per hole: capacity that is never written is
    // never backed by memory.
    allocate_or_fail("Memori ERROR\n",
                     [&] { positions.rows.reserve(static_cast<std::size_t>(n > 0 ? n : 0)); });
    // The key of the current position, and whether an entry has already been
    // left out of it (later entries are left out too, so the key always lists
    // a leading run of the position's holes).
    std::string key;
    bool key_full = false;
    std::size_t p = 0;
    for (std::size_t j = 0; j < static_cast<std::size_t>(n > 0 ? n : 0); ++j) {
        const EntityRecord& hole = list[j];
        const bool starts_position =
            j == 0 || compute_distance(list[p].center.x, list[p].center.y, hole.center.x,
                                       hole.center.y) >= kCommonCentreTolerance;
        // The row and the key entry come from the hole's own record before
        // anything is written over it: the key covers the first hole's tag,
        // and later positions are copied down over holes already merged.
        const std::string entry = format_hole_entry(hole);
        if (starts_position) {
            p = j == 0 ? 0 : p + 1;
            allocate_or_fail("Memori ERROR\n", [&] { positions.rows.emplace_back(); });
            add_hole_to_row(positions.rows.back(), hole);
            if (p != j) {
                list[p] = list[j];
            }
            list[p].point_size = list[p].sweep;
            key = entry;
            key_full = key.size() > kMaxKeyChars;
            store_key_area(list[p], key);
            continue;
        }
        add_hole_to_row(positions.rows.back(), hole);
        if (key_full) {
            continue;
        }
        if (key.size() + 1 + entry.size() <= kMaxKeyChars) {
            key.push_back(',');
            key.append(entry);
            store_key_area(list[p], key);
        } else {
            key_full = true;
        }
    }
    positions.count = static_cast<int>(positions.rows.size());
    return positions;
}
