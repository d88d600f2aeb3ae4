// Arbitrary bytes as an exchange file: the reader must never crash, must
// make as many records as the file counts, and every record must format;
// the tool's own reader, which keeps only the holes, must keep exactly the
// holes of the whole read, byte for byte.
#include <cstdlib>
#include <cstring>
#include <string>

#include "chart/hole_collection.hpp"
#include "entity/entity_file.hpp"
#include "tests/fuzz/fuzz_support.hpp"

namespace {

std::string line_of(EntityRecord record) {
    std::string out;
    format_entity_record(record, out);
    return out;
}

// Whether two records hold the same values, padding bytes aside: the line
// each is written as, and the values that the line leaves out or rounds.
bool same_values(const EntityRecord& a, const EntityRecord& b) {
    const double va[] = {a.center.x, a.center.y, a.radius,     a.start_angle, a.end_angle,
                         a.sweep,    a.angle,    a.point_size, a.slope,       a.intercept};
    const double vb[] = {b.center.x, b.center.y, b.radius,     b.start_angle, b.end_angle,
                         b.sweep,    b.angle,    b.point_size, b.slope,       b.intercept};
    return line_of(a) == line_of(b) && std::memcmp(va, vb, sizeof va) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string path = write_scratch_file("Object.fad", data, size);
    EntityList list;
    int count = 0;
    const bool read = read_entity_file(path.c_str(), list, count);
    if (!read) {
        return 0;
    }
    if (count != count_entity_lines(path.c_str()) ||
        list.size() != static_cast<std::size_t>(count) + 11) {
        std::abort();
    }
    // Before the records are formatted, which changes some of them.
    EntityList holes;
    int hole_count = 0;
    if (!read_hole_records(path.c_str(), holes, hole_count)) {
        std::abort();
    }
    int k = 0;
    for (int i = 0; i < count; ++i) {
        const EntityRecord& record = list[static_cast<std::size_t>(i)];
        if (!is_hole(record)) {
            continue;
        }
        if (k >= hole_count || !same_values(holes[static_cast<std::size_t>(k)], record)) {
            std::abort();
        }
        ++k;
    }
    if (k != hole_count) {
        std::abort();
    }

    std::string out;
    for (int i = 0; i < count; ++i) {
        format_entity_record(list[static_cast<std::size_t>(i)], out);
    }
    // One line per record, whatever the record holds.
    std::size_t lines = 0;
    for (char c : out) {
        lines += c == '\n' ? 1 : 0;
    }
    if (lines != static_cast<std::size_t>(count)) {
        std::abort();
    }
    return 0;
}
