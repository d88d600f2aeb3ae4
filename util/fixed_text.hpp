// Copies into the fixed-capacity text fields of the records. A text longer
// than the field is cut to capacity - 1 bytes so that the terminator always
// fits; nothing is ever written past the field.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

inline void copy_text_bounded(char* dest, std::size_t capacity, std::string_view src) {
    if (capacity == 0) {
        return;
    }
    const std::size_t n = src.size() < capacity - 1 ? src.size() : capacity - 1;
    if (n > 0) {
        std::memcpy(dest, src.data(), n);
    }
    dest[n] = '\0';
}

template <std::size_t N>
void copy_text(char (&dest)[N], std::string_view src) {
    copy_text_bounded(dest, N, src);
}

template <std::size_t N>
void copy_text(char (&dest)[N], const char* src) {
    // Looks at no more than N bytes: enough to know whether the text has to
    // be cut, and never past the end of a shorter text.
    const void* nul = std::memchr(src, '\0', N);
    const std::size_t length =
        nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - src) : N;
    copy_text_bounded(dest, N, std::string_view(src, length));
}
