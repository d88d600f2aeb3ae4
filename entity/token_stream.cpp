#include "entity/token_stream.hpp"

#include <cstring>

#include "util/fixed_text.hpp"
#include "util/number_text.hpp"

namespace {

constexpr std::size_t kChunkSize = 1 << 20;

inline bool is_space(char c) {
    return c == ' ' || c == '\n' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// Moves the unread bytes to the front and reads more after them. Returns
// false when nothing more could be read.
bool refill(TokenStream& s) {
    if (s.at_eof || s.file == nullptr) {
        return false;
    }
    if (s.pos > 0) {
        std::memmove(s.buffer.data(), s.buffer.data() + s.pos, s.end - s.pos);
        s.end -= s.pos;
        s.pos = 0;
    }
    if (s.end == s.buffer.size()) {
        s.buffer.resize(s.buffer.size() * 2);
    }
    const std::size_t got = std::fread(s.buffer.data() + s.end, 1, s.buffer.size() - s.end, s.file);
    if (got == 0) {
        s.at_eof = true;
        return false;
    }
    s.end += got;
    return true;
}

}  // namespace

void token_stream_open(TokenStream& stream, std::FILE* file) {
    stream.file = file;
    stream.buffer.assign(kChunkSize, '\0');
    stream.pos = 0;
    stream.end = 0;
    stream.at_eof = false;
}

void token_stream_close(TokenStream& stream) {
    if (stream.file != nullptr) {
        std::fclose(stream.file);
        stream.file = nullptr;
    }
    stream.buffer.clear();
    stream.buffer.shrink_to_fit();
}

bool next_token(TokenStream& s, std::string_view& token) {
    for (;;) {
        while (s.pos < s.end && is_space(s.buffer[s.pos])) {
            ++s.pos;
        }
        if (s.pos < s.end) {
            break;
        }
        s.pos = s.end;
        if (!refill(s)) {
            return false;
        }
    }
    std::size_t scan = s.pos;
    for (;;) {
        while (scan < s.end && !is_space(s.buffer[scan])) {
            ++scan;
        }
        if (scan < s.end || s.at_eof) {
            break;
        }
        // The token runs to the end of the buffer: read on, keeping its
        // start, which refill moves to the front.
        const std::size_t done = scan - s.pos;
        if (!refill(s)) {
            scan = s.end;
            break;
        }
        scan = s.pos + done;
    }
    token = std::string_view(s.buffer.data() + s.pos, scan - s.pos);
    s.pos = scan;
    return true;
}

void read_text_field(TokenStream& stream, char* field, std::size_t capacity) {
    std::string_view token;
    if (next_token(stream, token)) {
        copy_text_bounded(field, capacity, token);
    }
}

void read_real_field(TokenStream& stream, double& field) {
    std::string_view token;
    if (next_token(stream, token)) {
        parse_real_token(token, field);
    }
}

void read_int_field(TokenStream& stream, int32_t& field) {
    std::string_view token;
    if (next_token(stream, token)) {
        parse_int_token(token, field);
    }
}
