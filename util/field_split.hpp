// Splitting a line into fields at a separator, and the character replacement
// the splitter uses to treat tabs as blanks.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Texts taken apart here are considered up to their first 255 characters.
constexpr std::size_t kLineLimit = 255;

struct FieldList {
    std::vector<std::string> fields;
    int count = 0;
};

std::string replace_char(std::string_view text, char from, char to);
FieldList split_fields(std::string_view line, char separator);
