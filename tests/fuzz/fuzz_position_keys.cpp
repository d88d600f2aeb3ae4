// Arbitrary bytes as the tags, line styles and numbers of holes: splitting
// must keep its invariants, and grouping the holes into positions must give
// each a type table row within its ten slots, whatever the holes hold.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "chart/hole_collection.hpp"
#include "chart/hole_type_table.hpp"
#include "util/field_split.hpp"
#include "util/fixed_text.hpp"
#include "util/number_text.hpp"

namespace {

constexpr int kMaxHoles = 24;

void check_split(std::string_view text, char separator) {
    const FieldList list = split_fields(text, separator);
    if (list.count != static_cast<int>(list.fields.size())) {
        std::abort();
    }
    for (const std::string& field : list.fields) {
        if (field.empty() || field.size() > kLineLimit) {
            std::abort();
        }
    }
}

// Part `index` of a line whose parts are separated by '|'; empty when the
// line has fewer parts.
std::string_view part_of(std::string_view line, int index) {
    for (int i = 0; i < index; ++i) {
        const std::size_t bar = line.find('|');
        if (bar == std::string_view::npos) {
            return {};
        }
        line.remove_prefix(bar + 1);
    }
    return line.substr(0, std::min(line.find('|'), line.size()));
}

// One line "TAG|STYLE|RADIUS|SWEEP|X|Y" as a circle. Every part may be
// missing or hold any bytes; the centre defaults to the origin, so lines
// without one gather into one position.
EntityRecord hole_of(std::string_view line) {
    EntityRecord hole;
    copy_text(hole.kind, "CIRCLE");
    copy_text(hole.shape, "C");
    copy_text(hole.tag, part_of(line, 0));
    copy_text(hole.line_style, part_of(line, 1));
    hole.radius = leading_real(std::string(part_of(line, 2)));
    hole.sweep = leading_real(std::string(part_of(line, 3)));
    hole.center = Point{leading_real(std::string(part_of(line, 4))),
                        leading_real(std::string(part_of(line, 5)))};
    return hole;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    check_split(text, ',');
    check_split(text, '_');
    check_split(text, ' ');

    // The bytes as up to kMaxHoles holes, one a line.
    EntityList holes = entity_list_create(kMaxHoles);
    int n = 0;
    std::size_t start = 0;
    while (n < kMaxHoles && start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        holes[static_cast<std::size_t>(n)] = hole_of(text.substr(start, end - start));
        ++n;
        start = end + 1;
    }
    HolePositions positions = build_positions(holes, n);
    if (positions.count < 1 || positions.count > n ||
        positions.rows.size() != static_cast<std::size_t>(positions.count)) {
        std::abort();
    }
    for (const HoleTypeRow& row : positions.rows) {
        if (row.circle_count < 1 || row.circle_count > kMaxCirclesPerRow) {
            std::abort();
        }
        for (int k = 0; k < row.circle_count; ++k) {
            if (std::find(row.style[k], row.style[k] + kStyleSlotSize, '\0') ==
                row.style[k] + kStyleSlotSize) {
                std::abort();
            }
        }
    }
    order_positions(holes, positions.rows, positions.count, 0.0, 0.0);
    return 0;
}
