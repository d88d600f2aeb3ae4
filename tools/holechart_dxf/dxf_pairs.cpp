#include "tools/holechart_dxf/dxf_pairs.hpp"

#include "tools/common/whole_number.hpp"

namespace holechart_dxf {

namespace {

// Group codes are written with at most four digits, which 1071 needs.
constexpr std::size_t kMostCodeDigits = 4;

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && is_blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && is_blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool holds_text(int code) {
    return code == 1 || code == 3 || code == 999 || code == 1000;
}

bool parse_code(std::string_view text, int& code) {
    int value = 0;
    if (!companion::parse_digits(text, kMostCodeDigits, value) || value > kLargestGroupCode) {
        return false;
    }
    code = value;
    return true;
}

}  // namespace

bool DxfPairScanner::take_line(std::string_view& line) {
    if (at_ >= bytes_.size()) {
        return false;
    }
    const std::size_t newline = bytes_.find('\n', at_);
    const std::size_t stop = newline == std::string::npos ? bytes_.size() : newline;
    line = std::string_view(bytes_).substr(at_, stop - at_);
    at_ = newline == std::string::npos ? bytes_.size() : newline + 1;
    line_ += 1;
    return true;
}

DxfPairScanner::Result DxfPairScanner::next(DxfPair& pair) {
    pair.begin = at_;
    pair.line = line_;
    std::string_view code_line;
    std::string_view value_line;
    if (!take_line(code_line)) {
        return Result::end;
    }
    if (!parse_code(trimmed(code_line), pair.code)) {
        pair.value = trimmed(code_line);
        return Result::bad_code;
    }
    if (!take_line(value_line)) {
        return Result::end;
    }
    if (holds_text(pair.code)) {
        if (!value_line.empty() && value_line.back() == '\r') {
            value_line.remove_suffix(1);
        }
        pair.value = value_line;
    } else {
        pair.value = trimmed(value_line);
    }
    pair.end = at_;
    return Result::pair;
}

}  // namespace holechart_dxf
