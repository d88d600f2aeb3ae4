// Arbitrary bytes as an exchange file: the reader must never crash, must
// make as many records as the file counts, and every record must format.
#include <cstdlib>
#include <string>

#include "entity/entity_file.hpp"
#include "tests/fuzz/fuzz_support.hpp"

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
