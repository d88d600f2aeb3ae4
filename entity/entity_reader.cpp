#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>
#include <vector>

#include "entity/entity_file.hpp"
#include "entity/record_layout.hpp"
#include "entity/token_stream.hpp"
#include "geometry/geometry.hpp"
#include "util/file_probe.hpp"
#include "util/safe_file.hpp"

namespace {

constexpr int64_t kReadChunkChars = 511;

int64_t reads_for_line(int64_t length) {
    return (length + kReadChunkChars - 1) / kReadChunkChars;
}

// Counts the records of a file fed to it in chunks of any size: the
// characters of the current line as text mode sees them, where a CR
// directly before the line feed is part of the line end and any other CR
// counts.
struct LineCounter {
    int64_t reads = 0;
    int64_t length = 0;
    bool previous_was_cr = false;

    void add(const char* pos, const char* const end) {
        while (pos < end) {
            const char* feed = static_cast<const char*>(
                std::memchr(pos, '\n', static_cast<std::size_t>(end - pos)));
            if (feed == nullptr) {
                length += end - pos;
                previous_was_cr = end[-1] == '\r';
                return;
            }
            length += feed - pos;
            const bool crlf = feed > pos ? feed[-1] == '\r' : previous_was_cr;
            if (crlf) {
                --length;
            }
            reads += reads_for_line(length + 1);
            length = 0;
            previous_was_cr = false;
            pos = feed + 1;
        }
    }

    int64_t total() const { return length > 0 ? reads + reads_for_line(length) : reads; }
};

}  // namespace

int64_t count_entity_lines(const char* path) {
    int64_t size = 0;
    std::FILE* file = open_regular_file(path, &size);
    if (file == nullptr) {
        return -1;
    }
    // Up to the size the file had when it was opened: a file that keeps
    // growing must not keep the count going.
    int64_t left = size;
    LineCounter counter;
    std::vector<char> chunk(1 << 16);
    std::size_t got;
    while (left > 0 &&
           (got = std::fread(chunk.data(), 1,
                             static_cast<std::size_t>(std::min<int64_t>(left, chunk.size())),
                             file)) > 0) {
        left -= static_cast<int64_t>(got);
        counter.add(chunk.data(), chunk.data() + got);
    }
    std::fclose(file);
    return counter.total();
}

int64_t count_entity_lines(const MemoryFile& memory) {
    LineCounter counter;
    std::string_view rest = memory.bytes;
    while (!rest.empty()) {
        const std::size_t got = std::min(rest.size(), std::max<std::size_t>(memory.piece, 1));
        counter.add(rest.data(), rest.data() + got);
        rest.remove_prefix(got);
    }
    return counter.total();
}

void read_entity_head(TokenStream& s, EntityRecord& r) {
    record_layout::Head::read(s, r);
}

void read_entity_body(TokenStream& s, EntityRecord& r) {
    record_layout::visit_body(r, [&](auto body) { decltype(body)::read(s, r); });
    // The flags start cleared on every record read. mark3 is left as it was,
    // as it always has been: nothing in the run reads it, and clearing it
    // would only make the records differ from those earlier builds made.
    r.mark = 0;
    r.mark2 = 0;
    r.mark4 = 0;
}

std::size_t entity_body_tokens(const EntityRecord& head) {
    return record_layout::visit_body(head, [](auto body) { return decltype(body)::tokens; });
}

void read_entity_record(TokenStream& s, EntityRecord& r) {
    read_entity_head(s, r);
    read_entity_body(s, r);
}

namespace {

// The record count of a file of the given line count; more records than a
// list can index end the run, as no allocation could hold them.
int records_for_lines(int64_t lines) {
    if (lines > INT32_MAX - 11) {
        fail_allocation("Memori ERROR\n");
    }
    return static_cast<int>(lines);
}

// Opens the file for reading its n records: false when it is missing, empty
// or no regular file.
std::FILE* open_entity_file(const char* path, int& n) {
    n = 0;
    if (probe_file_lines(path) != 1) {
        return nullptr;
    }
    const int64_t lines = count_entity_lines(path);
    if (lines < 0) {
        return nullptr;
    }
    n = records_for_lines(lines);
    return open_regular_file(path);
}

// Reads the n records of the open stream into the list and closes the
// stream. The list that entity_list_create(n + 10) makes, built record by
// record so that each record is defaulted and filled while it is in cache;
// a list read into before keeps its storage.
void read_all_records(TokenStream& stream, int n, EntityList& list) {
    list.records.clear();
    allocate_or_fail("Memori ERROR\n",
                     [&] { list.records.reserve(static_cast<std::size_t>(n) + 11); });
    for (int i = 0; i < n; ++i) {
        list.records.emplace_back();
        read_entity_record(stream, list.records.back());
    }
    token_stream_close(stream);
    list.records.resize(static_cast<std::size_t>(n) + 11);
}

// Opens the source (a path or bytes) and reads every record of it.
template <typename Source>
bool read_every_record(const Source& source, EntityList& list, int& count) {
    count = 0;
    TokenStream stream;
    int n = 0;
    if (!open_entity_records(source, stream, n)) {
        return false;
    }
    read_all_records(stream, n, list);
    count = n;
    return true;
}

}  // namespace

bool read_entity_file(const char* path, EntityList& list, int& count) {
    return read_every_record(path, list, count);
}

bool read_entity_file(const MemoryFile& memory, EntityList& list, int& count) {
    return read_every_record(memory, list, count);
}

bool open_entity_records(const char* path, TokenStream& stream, int& count) {
    std::FILE* file = open_entity_file(path, count);
    if (file == nullptr) {
        count = 0;
        return false;
    }
    token_stream_open(stream, file);
    return true;
}

bool open_entity_records(const MemoryFile& memory, TokenStream& stream, int& count) {
    // As a file: bytes that hold no text are no drawing.
    count = 0;
    if (memory.bytes.empty()) {
        return false;
    }
    count = records_for_lines(count_entity_lines(memory));
    token_stream_open(stream, memory);
    return true;
}

void skip_entity_body(TokenStream& stream, const EntityRecord& head) {
    skip_tokens(stream, entity_body_tokens(head));
}

namespace {

// The head fields lie before justify, the body's after it.
constexpr std::size_t kHeadBytes = offsetof(EntityRecord, justify);
static_assert(offsetof(EntityRecord, tag) < kHeadBytes &&
                  offsetof(EntityRecord, shape) < kHeadBytes,
              "the head fields come first");

const EntityRecord kDefaults{};

}  // namespace

void default_entity_head(EntityRecord& record) {
    // The record is trivially copyable: its bytes may be set from the
    // defaults' a part at a time.
    std::memcpy(reinterpret_cast<unsigned char*>(&record),
                reinterpret_cast<const unsigned char*>(&kDefaults), kHeadBytes);
}

void default_entity_body(EntityRecord& record) {
    std::memcpy(reinterpret_cast<unsigned char*>(&record) + kHeadBytes,
                reinterpret_cast<const unsigned char*>(&kDefaults) + kHeadBytes,
                sizeof(EntityRecord) - kHeadBytes);
}
