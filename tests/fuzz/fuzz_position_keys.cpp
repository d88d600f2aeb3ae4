// Arbitrary bytes as position keys: splitting must keep its invariants and
// the hole type table must stay within its ten slots, whatever the key.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "chart/hole_type_table.hpp"
#include "util/field_split.hpp"

namespace {

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    check_split(text, ',');
    check_split(text, '_');
    check_split(text, ' ');

    // The bytes as the keys of up to three positions, split at line feeds.
    EntityList positions = entity_list_create(3);
    int count = 0;
    std::size_t start = 0;
    while (count < 3 && start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        store_key_area(positions[static_cast<std::size_t>(count)], text.substr(start, end - start));
        positions[static_cast<std::size_t>(count)].center = Point{1.0 * count, -1.0 * count};
        ++count;
        start = end + 1;
    }
    std::vector<HoleTypeRow> rows = parse_type_rows(positions, count);
    for (const HoleTypeRow& row : rows) {
        if (row.circle_count < 0 || row.circle_count > kMaxCirclesPerRow) {
            std::abort();
        }
    }
    order_positions(positions, rows, count, 0.0, 0.0);
    return 0;
}
