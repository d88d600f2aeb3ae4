#include "chart/hole_collection.hpp"

#include <cstring>
#include <vector>

#include "geometry/geometry.hpp"
#include "util/fixed_text.hpp"
#include "util/number_text.hpp"

namespace {

constexpr double kRowTolerance = 0.01;
constexpr double kCommonCentreTolerance = 0.001;

// What the exchange sort looks at, kept small so that the quadratic loop
// runs in cache; the records themselves move once, at the end.
struct HoleSortKey {
    double x;
    double y;
    double radius;
    int index;
};

bool holes_exchange(const HoleSortKey& r, const HoleSortKey& s) {
    if (r.y < s.y) {
        return true;
    }
    if (r.y - s.y < kRowTolerance) {
        if (r.x > s.x) {
            return true;
        }
        if (s.x - r.x < kRowTolerance && r.radius > s.radius) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool is_hole(const EntityRecord& record) {
    if (has_shape(record, "C")) {
        return true;
    }
    return has_shape(record, "A") && record.sweep > 180.0;
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
    // The occupant of slot i stays in a local while j runs; an exchange puts
    // it into slot j and takes the record from there. j starts after i: a
    // hole compared with itself is never exchanged.
    const std::size_t count = keys.size();
    for (std::size_t i = 0; i < count; ++i) {
        HoleSortKey r = keys[i];
        for (std::size_t j = i + 1; j < count; ++j) {
            if (holes_exchange(r, keys[j])) {
                const HoleSortKey s = keys[j];
                keys[j] = r;
                r = s;
            }
        }
        keys[i] = r;
    }
    std::vector<EntityRecord> ordered;
    ordered.reserve(keys.size());
    for (const HoleSortKey& key : keys) {
        ordered.push_back(list[static_cast<std::size_t>(key.index)]);
    }
    for (std::size_t i = 0; i < ordered.size(); ++i) {
        list[i] = ordered[i];
    }
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
