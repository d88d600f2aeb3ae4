#include "tools/holechart_dxf/dxf_values.hpp"

#include <algorithm>
#include <climits>
#include <cmath>

#include "util/number_text.hpp"

namespace holechart_dxf {

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

namespace {

enum class CodeType { text, integer, real };

CodeType code_type(int code) {
    struct Range {
        int first;
        int last;
        CodeType type;
    };
    static constexpr Range kNumberCodes[] = {
        {10, 59, CodeType::real},      {60, 79, CodeType::integer},
        {90, 99, CodeType::integer},   {110, 149, CodeType::real},
        {160, 179, CodeType::integer}, {210, 239, CodeType::real},
        {270, 299, CodeType::integer}, {370, 389, CodeType::integer},
        {400, 409, CodeType::integer}, {420, 429, CodeType::integer},
        {440, 459, CodeType::integer}, {460, 469, CodeType::real},
        {1010, 1059, CodeType::real},  {1060, 1071, CodeType::integer},
    };
    for (const Range& range : kNumberCodes) {
        if (code < range.first) {
            break;
        }
        if (code <= range.last) {
            return range.type;
        }
    }
    return CodeType::text;
}

std::size_t skip_digits(std::string_view text, std::size_t i) {
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        ++i;
    }
    return i;
}

// A decimal number in the form every reader takes: sign, digits with one
// decimal point (or comma) and an exponent. Cheaper than converting it,
// which the values the bridge uses get anyway.
bool decimal_form(std::string_view text) {
    std::size_t i = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    const std::size_t whole = skip_digits(text, i);
    std::size_t end = whole;
    if (end < text.size() && (text[end] == '.' || text[end] == ',')) {
        end = skip_digits(text, end + 1);
    }
    if (end == i || (end == i + 1 && whole == i)) {
        return false;  // no digit on either side of the point
    }
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t e = end + 1;
        e += e < text.size() && (text[e] == '-' || text[e] == '+') ? 1 : 0;
        end = skip_digits(text, e);
        if (end == e) {
            return false;
        }
    }
    return end == text.size();
}

}  // namespace

bool value_fits_code(int code, std::string_view text) {
    int unused = 0;
    switch (code_type(code)) {
        case CodeType::integer:
            return int_value(text, unused);
        case CodeType::real:
            return decimal_form(text);
        case CodeType::text:
            break;
    }
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

}  // namespace holechart_dxf
