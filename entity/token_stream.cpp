#include "entity/token_stream.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

#include "util/fixed_text.hpp"
#include "util/number_text.hpp"

namespace {

constexpr std::size_t kChunkSize = 1 << 16;

// The white space of the C locale: blank, tab, line feed, vertical tab,
// form feed, carriage return.
struct SpaceTable {
    bool space[256] = {};
    constexpr SpaceTable() {
        space[static_cast<unsigned char>(' ')] = true;
        for (int c = '\t'; c <= '\r'; ++c) {
            space[c] = true;
        }
    }
};
constexpr SpaceTable kSpaces;

inline bool is_space(char c) {
    return kSpaces.space[static_cast<unsigned char>(c)];
}

// Reads up to room bytes into to, from the file or the bytes in memory, as
// fread does: 0 at the end.
std::size_t read_source(TokenStream& s, char* to, std::size_t room) {
    if (s.file != nullptr) {
        return std::fread(to, 1, room, s.file);
    }
    const std::size_t got = std::min({room, s.memory.piece, s.memory.bytes.size()});
    if (got > 0) {
        std::memcpy(to, s.memory.bytes.data(), got);
        s.memory.bytes.remove_prefix(got);
    }
    return got;
}

// Moves the unread bytes to the front and reads more after them. Returns
// false when nothing more could be read. The byte after the data is always
// a blank, so a scan for the end of a token needs no bounds check.
bool refill(TokenStream& s) {
    if (s.at_eof || (s.file == nullptr && !s.in_memory)) {
        return false;
    }
    if (s.pos > 0) {
        std::memmove(s.buffer.data(), s.buffer.data() + s.pos, s.end - s.pos);
        s.end -= s.pos;
        s.pos = 0;
    }
    if (s.end + 1 >= s.buffer.size()) {
        s.buffer.resize(s.buffer.size() * 2);
    }
    const std::size_t room = s.buffer.size() - 1 - s.end;
    const std::size_t got = read_source(s, s.buffer.data() + s.end, room);
    s.end += got;
    s.buffer[s.end] = ' ';
    if (got == 0) {
        s.at_eof = true;
        return false;
    }
    return true;
}

// The token's first kMaxTokenChars bytes end at keep, and the rest of it
// runs on past the data read so far: reads on and drops bytes up to the
// white space after the token, which then stands at keep.
void drop_rest_of_token(TokenStream& s, std::size_t keep) {
    s.end = keep;
    if (s.buffer.size() < keep + kChunkSize + 1) {
        s.buffer.resize(keep + kChunkSize + 1);
    }
    for (;;) {
        char* const from = s.buffer.data() + keep;
        const std::size_t got = read_source(s, from, kChunkSize);
        if (got == 0) {
            s.at_eof = true;
            break;
        }
        const char* space = from;
        while (space < from + got && !is_space(*space)) {
            ++space;
        }
        if (space < from + got) {
            const std::size_t rest = static_cast<std::size_t>(from + got - space);
            std::memmove(from, space, rest);
            s.end = keep + rest;
            break;
        }
    }
    s.buffer[s.end] = ' ';
}

// The end of the token at p: the first white space byte, the blank after
// the data at the latest. Whole words that hold no byte below 0x21 (every
// white space byte is one) are passed over eight bytes at a time while they
// lie within the data; the rest is looked at byte by byte.
const char* end_of_token(const char* p, const char* data_end) {
    constexpr uint64_t kOnes = 0x0101010101010101u;
    constexpr uint64_t kHighBits = 0x8080808080808080u;
    while (data_end - p >= 8) {
        uint64_t word;
        std::memcpy(&word, p, sizeof word);
        if (((word - 0x21 * kOnes) & ~word & kHighBits) != 0) {
            break;
        }
        p += 8;
    }
    while (!is_space(*p)) {
        ++p;
    }
    return p;
}

}  // namespace

namespace {

void start_stream(TokenStream& stream, std::size_t buffer_size) {
    stream.buffer.assign(buffer_size, ' ');
    stream.pos = 0;
    stream.end = 0;
    stream.at_eof = false;
    stream.at_start = true;
    stream.token_cut = false;
}

}  // namespace

void token_stream_open(TokenStream& stream, std::FILE* file) {
    stream.file = file;
    stream.memory = MemoryFile{};
    stream.in_memory = false;
    start_stream(stream, kChunkSize);
}

void token_stream_open(TokenStream& stream, const MemoryFile& memory) {
    stream.file = nullptr;
    stream.memory = memory;
    stream.memory.piece = std::max<std::size_t>(memory.piece, 1);
    stream.in_memory = true;
    // Bytes shorter than a chunk arrive in the same reads whatever the
    // buffer's size beyond them: a buffer just large enough saves clearing
    // a whole chunk for each short input.
    start_stream(stream, std::min(kChunkSize, memory.bytes.size() + 2));
}

void token_stream_close(TokenStream& stream) {
    if (stream.file != nullptr) {
        std::fclose(stream.file);
        stream.file = nullptr;
    }
    stream.in_memory = false;
    stream.buffer.clear();
    stream.buffer.shrink_to_fit();
}

namespace {

// Skips a UTF-8 byte order mark before the first token. Left in place it
// would spoil the first number of the file.
void skip_byte_order_mark(TokenStream& s) {
    s.at_start = false;
    while (s.end - s.pos < 3 && refill(s)) {
    }
    if (s.end - s.pos >= 3 && std::memcmp(s.buffer.data() + s.pos, "\xEF\xBB\xBF", 3) == 0) {
        s.pos += 3;
    }
}

}  // namespace

bool next_token(TokenStream& s, std::string_view& token) {
    if (s.at_start) {
        skip_byte_order_mark(s);
    }
    // Work on locals: the bytes read could alias the stream's own fields,
    // which would force a store of them on every byte.
    const char* data = s.buffer.data();
    std::size_t pos = s.pos;
    std::size_t end = s.end;
    for (;;) {
        while (pos < end && is_space(data[pos])) {
            ++pos;
        }
        if (pos < end) {
            break;
        }
        s.pos = end;
        if (!refill(s)) {
            return false;
        }
        data = s.buffer.data();
        pos = s.pos;
        end = s.end;
    }
    std::size_t scan = pos;
    bool cut = false;
    for (;;) {
        while (!is_space(data[scan])) {
            ++scan;  // stops at the blank after the data at the latest
        }
        if (scan < end || s.at_eof) {
            break;
        }
        if (scan - pos > kMaxTokenChars) {
            s.pos = pos;
            drop_rest_of_token(s, pos + kMaxTokenChars);
            data = s.buffer.data();
            scan = pos + kMaxTokenChars;
            cut = true;
            break;
        }
        // The token runs to the end of the data: read on, keeping its start,
        // which refill moves to the front.
        const std::size_t done = scan - pos;
        s.pos = pos;
        const bool more = refill(s);
        data = s.buffer.data();
        pos = s.pos;
        end = s.end;
        scan = pos + done;
        if (!more) {
            break;
        }
    }
    s.token_cut = cut || scan - pos > kMaxTokenChars;
    token = std::string_view(data + pos, std::min(scan - pos, kMaxTokenChars));
    s.pos = scan;
    return true;
}

void skip_tokens(TokenStream& stream, std::size_t count) {
    if (stream.at_start) {
        skip_byte_order_mark(stream);
    }
    // Tokens that lie wholly in the buffer are passed over here; one that
    // runs on past the data read so far is left to next_token.
    const char* data = stream.buffer.data();
    std::size_t pos = stream.pos;
    const std::size_t end = stream.end;
    for (; count > 0; --count) {
        while (pos < end && is_space(data[pos])) {
            ++pos;
        }
        if (pos == end) {
            break;
        }
        const std::size_t scan =
            static_cast<std::size_t>(end_of_token(data + pos, data + end) - data);
        if ((scan == end && !stream.at_eof) || scan - pos > kMaxTokenChars) {
            break;
        }
        pos = scan;
        stream.token_cut = false;
    }
    stream.pos = pos;
    std::string_view token;
    for (; count > 0 && next_token(stream, token); --count) {
    }
}

void read_text_field(TokenStream& stream, char* field, std::size_t capacity) {
    std::string_view token;
    if (next_token(stream, token)) {
        copy_text_bounded(field, capacity, token);
    }
}

void read_real_field(TokenStream& stream, double& field) {
    if (stream.at_start) {
        skip_byte_order_mark(stream);
    }
    // Plain fixed-point text lying wholly in the buffer is converted as it is
    // scanned, in one pass; anything else takes the general path.
    const char* data = stream.buffer.data();
    std::size_t pos = stream.pos;
    const std::size_t end = stream.end;
    while (pos < end && is_space(data[pos])) {
        ++pos;
    }
    if (pos < end) {
        double value = 0.0;
        // The blank after the data stops the scan at end at the latest.
        const char* stop = scan_plain_decimal(data + pos, data + end + 1, value);
        if (stop != nullptr && is_space(*stop) && (stop < data + end || stream.at_eof) &&
            static_cast<std::size_t>(stop - (data + pos)) < kMaxTokenChars) {
            field = value;
            stream.pos = static_cast<std::size_t>(stop - data);
            return;
        }
    }
    stream.pos = pos;
    std::string_view token;
    if (next_token(stream, token)) {
        if (stream.token_cut) {
            field = std::numeric_limits<double>::quiet_NaN();
        } else {
            parse_real_token(token, field);
        }
    }
}

void read_int_field(TokenStream& stream, int32_t& field) {
    std::string_view token;
    if (next_token(stream, token) && !stream.token_cut) {
        parse_int_token(token, field);
    }
}
