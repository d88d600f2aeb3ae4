// Arbitrary bytes as an exchange file: the reader must never crash, must
// make as many records as the file counts, and every record must format to
// one line. The records must not depend on how the bytes arrive (whole, or a
// few at a time, so that chunk ends fall inside tokens), and the tool's own
// reader, which keeps only the holes, must keep exactly the holes of the
// whole read, byte for byte.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "chart/hole_collection.hpp"
#include "chart/hole_reading.hpp"
#include "entity/entity_file.hpp"
#include "tests/fuzz/fuzz_support.hpp"

namespace {

// What records hold, padding bytes aside: the lines they are written as,
// and the values that the lines leave out or round.
struct Digest {
    std::string lines;
    std::vector<double> values;

    void add(EntityRecord record) {
        const EntityRecord& r = record;
        values.insert(values.end(), {r.center.x, r.center.y, r.radius, r.start_angle, r.end_angle,
                                     r.sweep, r.angle, r.point_size, r.slope, r.intercept});
        format_entity_record(record, lines);  // changes the copy only
    }
    void clear() {
        lines.clear();
        values.clear();
    }
    // Bit for bit, so that a NaN equals itself.
    bool operator==(const Digest& other) const {
        return lines == other.lines && values.size() == other.values.size() &&
               (values.empty() || std::memcmp(values.data(), other.values.data(),
                                              values.size() * sizeof(double)) == 0);
    }
};

void digest(const EntityList& list, int count, bool holes_only, Digest& out) {
    out.clear();
    for (int i = 0; i < count; ++i) {
        const EntityRecord& record = list[static_cast<std::size_t>(i)];
        if (!holes_only || is_hole(record)) {
            out.add(record);
        }
    }
}

// The holes that the hole reader keeps must be exactly those of the list.
void check_holes(const MemoryFile& memory, int count, const Digest& expected) {
    static EntityList holes;
    static Digest kept;
    TokenStream stream;
    int records = 0;
    if (!open_entity_records(memory, stream, records) || records != count) {
        std::abort();
    }
    int hole_count = 0;
    read_stream_holes(stream, records, holes, hole_count);
    digest(holes, hole_count, false, kept);
    if (!(kept == expected) || holes.size() != static_cast<std::size_t>(hole_count) + 2) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const MemoryFile whole{bytes_of(data, size)};
    const MemoryFile pieces = in_pieces(whole.bytes);
    // Lists read into again and again, as the tool's lists never are: a
    // list must hold nothing of an earlier read.
    static EntityList list;
    static EntityList again;
    static Digest first;
    static Digest second;
    int count = 0;
    if (!read_entity_file(whole, list, count)) {
        if (size > 0) {
            std::abort();  // only an empty file holds no records
        }
        return 0;
    }
    int again_count = 0;
    if (count != count_entity_lines(whole) || count != count_entity_lines(pieces) ||
        list.size() != static_cast<std::size_t>(count) + 11 ||
        !read_entity_file(pieces, again, again_count) || again_count != count) {
        std::abort();
    }
    digest(list, count, false, first);
    digest(again, count, false, second);
    if (!(first == second)) {
        std::abort();
    }
    // One line per record, whatever the record holds.
    if (count_lines(first.lines) != static_cast<std::size_t>(count)) {
        std::abort();
    }
    digest(list, count, true, second);
    check_holes(whole, count, second);
    check_holes(pieces, count, second);
    return 0;
}
