#include "util/number_text.hpp"

#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// The slow path: strtod on a terminated copy. It accepts every form "%lf"
// accepts and gives out-of-range values as the C library does.
bool parse_real_with_strtod(std::string_view token, double& out) {
    if (token.empty()) {
        return false;
    }
    std::string copy(token);
    if (copy.size() != std::strlen(copy.c_str())) {
        return false;  // an embedded NUL byte: not one number
    }
    const unsigned char first = static_cast<unsigned char>(copy[0]);
    if (first == ' ' || (first >= '\t' && first <= '\r')) {
        return false;  // strtod would skip it; a token never starts with it
    }
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size()) {
        return false;
    }
    out = value;
    return true;
}

}  // namespace

const char* scan_plain_decimal(const char* p, const char* end, double& out) {
    static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    constexpr uint64_t kExactLimit = uint64_t{1} << 53;
    const bool negative = p < end && *p == '-';
    if (negative) {
        ++p;
    }
    // More than 19 digits may wrap the mantissa; such text is refused below,
    // so the wrap does no harm.
    uint64_t mantissa = 0;
    const char* const integer_start = p;
    while (p < end && static_cast<unsigned>(*p - '0') < 10u) {
        mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
        ++p;
    }
    const long integer_digits = p - integer_start;
    long decimals = 0;
    if (p < end && *p == '.') {
        ++p;
        const char* const fraction_start = p;
        while (p < end && static_cast<unsigned>(*p - '0') < 10u) {
            mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
            ++p;
        }
        decimals = p - fraction_start;
    }
    const long digits = integer_digits + decimals;
    if (digits == 0 || digits > 19 || mantissa > kExactLimit || decimals > 22) {
        return nullptr;
    }
    const double value = static_cast<double>(mantissa) / kPowersOfTen[decimals];
    out = negative ? -value : value;
    return p;
}

bool parse_real_token(std::string_view token, double& out) {
    const char* begin = token.data();
    const char* end = begin + token.size();
    if (begin == end) {
        return false;
    }
    double plain = 0.0;
    if (scan_plain_decimal(begin, end, plain) == end) {
        out = plain;
        return true;
    }
    // The common case: plain decimal text. from_chars rounds correctly, as
    // glibc's strtod does, so both give the same double.
    double value = 0.0;
    const std::from_chars_result r = std::from_chars(begin, end, value, std::chars_format::general);
    if (r.ec == std::errc() && r.ptr == end) {
        out = value;
        return true;
    }
    // A leading '+', hexadecimal text, or a value out of range.
    return parse_real_with_strtod(token, out);
}

bool parse_int_token(std::string_view token, int32_t& out) {
    const char* begin = token.data();
    const char* end = begin + token.size();
    if (begin != end && *begin == '+') {
        ++begin;
        if (begin != end && *begin == '-') {
            return false;
        }
    }
    if (begin == end) {
        return false;
    }
    int32_t value = 0;
    const std::from_chars_result r = std::from_chars(begin, end, value, 10);
    if (r.ec != std::errc() || r.ptr != end) {
        return false;
    }
    out = value;
    return true;
}

int32_t leading_int(const std::string& text) {
    errno = 0;
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (value > INT32_MAX) {
        return INT32_MAX;
    }
    if (value < INT32_MIN) {
        return INT32_MIN;
    }
    return static_cast<int32_t>(value);
}

double leading_real(const std::string& text) {
    return std::strtod(text.c_str(), nullptr);
}

char* write_fixed(char* out, double value, int decimals) {
    if (decimals < 0) {
        decimals = 0;
    }
    if (decimals > 12) {
        decimals = 12;
    }
    if (std::isnan(value)) {
        // to_chars and printf agree on the text, but spell it out so that
        // the sign of a NaN is printed the way printf prints it.
        const char* text = std::signbit(value) ? "-nan" : "nan";
        const std::size_t n = std::strlen(text);
        std::memcpy(out, text, n);
        return out + n;
    }
    const std::to_chars_result r =
        std::to_chars(out, out + kMaxFixedChars, value, std::chars_format::fixed, decimals);
    return r.ptr;
}

void append_fixed(std::string& out, double value, int decimals) {
    char buffer[kMaxFixedChars];
    char* end = write_fixed(buffer, value, decimals);
    out.append(buffer, static_cast<std::size_t>(end - buffer));
}

void append_int(std::string& out, int32_t value) {
    char buffer[16];
    const std::to_chars_result r = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, static_cast<std::size_t>(r.ptr - buffer));
}
