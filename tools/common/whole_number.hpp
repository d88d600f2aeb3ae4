// Whole numbers written as digits only, no sign and no blanks: the widths of
// the command lines and the group codes of DXF files are read this way, so
// that "+5", " 5" or "5x" is refused instead of read as 5.
#pragma once

#include <cstddef>
#include <string_view>

namespace companion {

// The value of text when it is 1 to most_digits digits; false otherwise,
// with value untouched. most_digits keeps the value within an int.
inline bool parse_digits(std::string_view text, std::size_t most_digits, int& value) {
    if (text.empty() || text.size() > most_digits) {
        return false;
    }
    int read = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        read = read * 10 + (c - '0');
    }
    value = read;
    return true;
}

}  // namespace companion
