#include "tools/common/hole_table.hpp"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

#include "chart/chart_layout.hpp"
#include "chart/chart_primitives.hpp"

namespace companion {

namespace {

#ifdef _WIN32
constexpr const char* kLineEnd = "\r\n";
#else
constexpr const char* kLineEnd = "\n";
#endif

const char* const kColumns[] = {"No",          "X",        "Y",     "Type",   "Count",
                                "Description", "Diameter", "Depth", "Thread", "Side"};

// One table row: its cells as texts, in the order of kColumns. JSON writes
// the number columns bare and an empty cell as null.
struct TableRow {
    std::vector<std::string> cells;
};
constexpr bool kIsNumber[] = {true, true, true, true, true, false, true, true, false, false};

// The CAD text codes of the labels as the characters they stand for.
std::string readable(const std::string& label) {
    static const struct {
        const char* code;
        const char* character;
    } kCodes[] = {{"%%C", "\xC3\x98"}, {"%%c", "\xC3\x98"}, {"%%D", "\xC2\xB0"},
                  {"%%d", "\xC2\xB0"}, {"%%P", "\xC2\xB1"}, {"%%p", "\xC2\xB1"}};
    std::string text;
    for (std::size_t i = 0; i < label.size();) {
        bool replaced = false;
        for (const auto& c : kCodes) {
            if (label.compare(i, 3, c.code) == 0) {
                text += c.character;
                i += 3;
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            text.push_back(label[i]);
            ++i;
        }
    }
    return text;
}

int circles_of(const HoleTypeRow& row) {
    return std::min(std::max(row.circle_count, 0), kMaxCirclesPerRow);
}

// The depth the type's first label gives: a tapped hole's from its thread
// arc, a plain hole's from its own circle.
std::string depth_text(const HoleTypeRow& row) {
    if (circles_of(row) > 1 && is_tapping_arc(row.hole_sweep[1])) {
        return row.type_value[1] >= kValueFloor
                   ? format_chart_number(row.type_value[1], row.type_code[1])
                   : std::string();
    }
    return row.type_value[0] > kValueFloor
               ? format_chart_number(row.type_value[0], row.type_code[0])
               : std::string();
}

// The thread of the type's first tapped hole, as its label names it.
std::string thread_text(const HoleTypeRow& row) {
    for (int k = 0; k + 1 < circles_of(row); ++k) {
        if (is_tapping_arc(row.hole_sweep[k + 1])) {
            return thread_size_text(row, k + 1);
        }
    }
    return std::string();
}

TableRow row_of(const ListedHole& hole, const ListedType& type) {
    const HoleTypeRow& row = type.row;
    std::string description;
    for (const std::string& label : type.labels) {
        description += (description.empty() ? "" : " + ") + readable(label);
    }
    TableRow table_row;
    table_row.cells = {std::to_string(hole.number),
                       hole.x_text,
                       hole.y_text,
                       std::to_string(hole.type),
                       std::to_string(type.rows),
                       description,
                       format_chart_number(2.0 * row.hole_radius[0], row.type_code[0]),
                       depth_text(row),
                       thread_text(row),
                       row.style[0][0] == 'H' ? "back" : "front"};
    return table_row;
}

std::string quoted_cell(const std::string& cell, char separator) {
    if (cell.find_first_of(std::string(1, separator) + "\"\r\n") == std::string::npos) {
        return cell;
    }
    std::string quoted = "\"";
    for (char c : cell) {
        quoted.push_back(c);
        if (c == '"') {
            quoted.push_back('"');
        }
    }
    quoted.push_back('"');
    return quoted;
}

std::string json_string(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(c);
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out.push_back(c);
        }
    }
    out.push_back('"');
    return out;
}

std::string lower_case(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string separated(const std::vector<TableRow>& rows, char separator, bool byte_order_mark) {
    std::string out = byte_order_mark ? "\xEF\xBB\xBF" : "";
    for (const char* column : kColumns) {
        out += (column == kColumns[0] ? "" : std::string(1, separator)) + column;
    }
    out += kLineEnd;
    for (const TableRow& row : rows) {
        for (std::size_t i = 0; i < row.cells.size(); ++i) {
            out += (i == 0 ? "" : std::string(1, separator)) + quoted_cell(row.cells[i], separator);
        }
        out += kLineEnd;
    }
    return out;
}

std::string json(const std::vector<TableRow>& rows) {
    if (rows.empty()) {
        return std::string("[]") + kLineEnd;
    }
    std::string out = std::string("[") + kLineEnd;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        out += "  {";
        for (std::size_t i = 0; i < rows[r].cells.size(); ++i) {
            const std::string& cell = rows[r].cells[i];
            out += (i == 0 ? "\"" : ", \"") + lower_case(kColumns[i]) + "\": ";
            out += cell.empty() ? "null" : kIsNumber[i] ? cell : json_string(cell);
        }
        out += r + 1 < rows.size() ? "}," : "}";
        out += kLineEnd;
    }
    out += std::string("]") + kLineEnd;
    return out;
}

}  // namespace

bool table_format_named(const std::string& name, TableFormat& format) {
    struct Named {
        const char* name;
        TableFormat format;
    };
    static constexpr Named kFormats[] = {
        {"csv", TableFormat::csv}, {"tsv", TableFormat::tsv}, {"json", TableFormat::json}};
    for (const Named& n : kFormats) {
        if (name == n.name) {
            format = n.format;
            return true;
        }
    }
    return false;
}

bool table_format_of_file(const std::string& path, TableFormat& format) {
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return false;
    }
    return table_format_named(lower_case(path.substr(dot + 1)), format);
}

std::string format_hole_table(const ChartListing& listing, TableFormat format,
                              bool byte_order_mark) {
    std::vector<TableRow> rows;
    rows.reserve(listing.holes.size());
    for (const ListedHole& hole : listing.holes) {
        rows.push_back(row_of(hole, listing.types[static_cast<std::size_t>(hole.type - 1)]));
    }
    switch (format) {
        case TableFormat::csv:
            return separated(rows, ',', byte_order_mark);
        case TableFormat::tsv:
            return separated(rows, '\t', byte_order_mark);
        case TableFormat::json:
            break;
    }
    return json(rows);
}

}  // namespace companion
