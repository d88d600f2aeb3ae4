// Shared by the fuzz targets, which all run in memory: no file is written or
// read per input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "entity/token_stream.hpp"

inline std::string_view bytes_of(const uint8_t* data, std::size_t size) {
    return std::string_view(reinterpret_cast<const char*>(data), size);
}

// The bytes handed over a few at a time, 1 to 31 by their length, so that
// chunk ends fall inside tokens and line ends, as a whole read of an input
// this short never makes them.
inline MemoryFile in_pieces(std::string_view bytes) {
    return MemoryFile{bytes, 1 + bytes.size() % 31};
}

// The first line, without its line feed; rest keeps what follows it.
inline std::string_view take_line(std::string_view& rest) {
    const std::size_t end = rest.find('\n');
    const std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    return line;
}

// The line feeds in the text.
inline std::size_t count_lines(std::string_view text) {
    std::size_t lines = 0;
    const char* p = text.data();
    const char* const end = p + text.size();
    while ((p = static_cast<const char*>(
                std::memchr(p, '\n', static_cast<std::size_t>(end - p)))) != nullptr) {
        ++lines;
        ++p;
    }
    return lines;
}
