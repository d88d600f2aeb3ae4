#include "tools/holechart_dxf/dxf_values.hpp"

#include <algorithm>
#include <climits>
#include <cmath>

#include "util/number_text.hpp"

std::string dxf_upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

bool real_value(std::string_view text, double& value) {
    double parsed = 0.0;
    if (text.find(',') == std::string_view::npos) {
        if (!parse_real_token(text, parsed)) {
            return false;
        }
    } else {
        std::string dotted(text);
        for (char& c : dotted) {
            c = c == ',' ? '.' : c;
        }
        if (!parse_real_token(dotted, parsed)) {
            return false;
        }
    }
    if (!std::isfinite(parsed)) {
        return false;
    }
    value = parsed;
    return true;
}

bool int_value(std::string_view text, int& value) {
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        i = 1;
    }
    const std::size_t first_digit = i;
    long long magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = std::min<long long>(magnitude * 10 + (text[i] - '0'), INT_MAX);
    }
    if (i == first_digit) {
        return false;
    }
    if (i < text.size()) {
        // "1.0", "1.": a fraction is dropped, anything else is no integer.
        if (text[i] != '.') {
            return false;
        }
        for (++i; i < text.size(); ++i) {
            if (text[i] < '0' || text[i] > '9') {
                return false;
            }
        }
    }
    value = static_cast<int>(negative ? -magnitude : magnitude);
    return true;
}

bool handle_value(std::string_view text, unsigned long long& value) {
    if (text.empty()) {
        return false;
    }
    unsigned long long parsed = 0;
    for (const char c : text) {
        int digit = 0;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else {
            return false;
        }
        if (parsed > (ULLONG_MAX >> 4)) {
            return false;  // more than 64 bits
        }
        parsed = parsed << 4 | static_cast<unsigned long long>(digit);
    }
    value = parsed;
    return true;
}

std::string shown_value(std::string_view text) {
    std::string shown(text.substr(0, 40));
    for (char& c : shown) {
        c = static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? '?' : c;
    }
    return shown;
}
