#include "util/field_split.hpp"

std::string replace_char(std::string_view text, char from, char to) {
    const std::size_t n = text.size() < kLineLimit ? text.size() : kLineLimit;
    std::string result(text.substr(0, n));
    for (char& c : result) {
        if (c == from) {
            c = to;
        }
    }
    return result;
}

FieldList split_fields(std::string_view line, char separator) {
    // Stop at an embedded terminator as a C text would.
    const std::size_t nul = line.find('\0');
    if (nul != std::string_view::npos) {
        line = line.substr(0, nul);
    }
    const std::size_t n = line.size() < kLineLimit ? line.size() : kLineLimit;
    // The test copy decides what is a separator; the fields take the
    // characters of the line itself, so a tab inside a field stays a tab.
    const std::string test = replace_char(line, '\t', ' ');

    FieldList result;
    std::string current;
    for (std::size_t i = 0; i < n; ++i) {
        if (test[i] == separator) {
            const bool next_is_separator = i + 1 < n && test[i + 1] == separator;
            if (next_is_separator || current.empty()) {
                continue;
            }
            result.fields.push_back(current);
            current.clear();
        } else {
            current.push_back(line[i]);
        }
        if (i == n - 1 && !current.empty()) {
            result.fields.push_back(current);
            current.clear();
        }
    }
    result.count = static_cast<int>(result.fields.size());
    return result;
}
