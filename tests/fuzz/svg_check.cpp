#include "tests/fuzz/svg_check.hpp"

#include <cstdint>
#include <string>

namespace {

// A character XML allows, without the C1 controls and DEL that fad2svg
// promises never to write.
bool allowed_char(uint32_t c) {
    if (c < 0x20) {
        return c == '\t' || c == '\n' || c == '\r';
    }
    if (c >= 0x7F && c <= 0x9F) {
        return false;
    }
    return (c < 0xD800 || c > 0xDFFF) && c != 0xFFFE && c != 0xFFFF && c <= 0x10FFFF;
}

// The number of bytes that follow a UTF-8 lead byte; -1 for no lead byte.
int continuation_bytes(unsigned char b) {
    if (b < 0x80) {
        return 0;
    }
    if (b >= 0xC2 && b < 0xE0) {
        return 1;
    }
    if (b >= 0xE0 && b < 0xF0) {
        return 2;
    }
    return b >= 0xF0 && b < 0xF5 ? 3 : -1;
}

// Decodes the UTF-8 sequence at text[i], shortest form only; false when
// there is none.
bool decode(std::string_view text, std::size_t& i, uint32_t& c) {
    const auto b = static_cast<unsigned char>(text[i]);
    const int extra = continuation_bytes(b);
    if (extra < 0 || i + static_cast<std::size_t>(extra) >= text.size()) {
        return false;
    }
    c = extra == 0 ? b : b & (0x3Fu >> extra);
    for (int k = 1; k <= extra; ++k) {
        const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
        if ((next & 0xC0) != 0x80) {
            return false;
        }
        c = (c << 6) | (next & 0x3Fu);
    }
    static const uint32_t kLowest[] = {0, 0x80, 0x800, 0x10000};
    i += static_cast<std::size_t>(extra) + 1;
    return c >= kLowest[extra];
}

int digit_value(char d, bool hex) {
    if (d >= '0' && d <= '9') {
        return d - '0';
    }
    if (hex && d >= 'a' && d <= 'f') {
        return d - 'a' + 10;
    }
    return hex && d >= 'A' && d <= 'F' ? d - 'A' + 10 : -1;
}

bool name_start(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':';
}

bool name_char(char c) {
    return name_start(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

struct Parser {
    std::string_view text;
    std::vector<XmlAttribute>* attributes;
    std::size_t pos = 0;
    const char* problem = nullptr;

    bool fail(const char* why) {
        if (problem == nullptr) {
            problem = why;
        }
        return false;
    }
    bool at_end() const { return pos >= text.size(); }
    char peek() const { return at_end() ? '\0' : text[pos]; }
    bool take(std::string_view s) {
        if (text.substr(pos, s.size()) != s) {
            return false;
        }
        pos += s.size();
        return true;
    }
    void blanks() {
        while (!at_end() && is_blank(text[pos])) {
            ++pos;
        }
    }

    std::string_view name() {
        const std::size_t start = pos;
        if (!name_start(peek())) {
            return {};
        }
        while (!at_end() && name_char(text[pos])) {
            ++pos;
        }
        return text.substr(start, pos - start);
    }

    // A reference after its '&', up to and with its ';'.
    bool reference() {
        for (const char* entity : {"amp;", "lt;", "gt;", "quot;", "apos;"}) {
            if (take(entity)) {
                return true;
            }
        }
        if (!take("#")) {
            return fail("an unknown entity reference");
        }
        const bool hex = take("x");
        uint32_t c = 0;
        int digits = 0;
        for (; !at_end() && text[pos] != ';'; ++pos, ++digits) {
            const int v = digit_value(text[pos], hex);
            if (v < 0 || digits > 8) {
                return fail("a malformed character reference");
            }
            c = c * (hex ? 16 : 10) + static_cast<uint32_t>(v);
        }
        if (digits == 0 || !take(";") || !allowed_char(c)) {
            return fail("a character reference to no allowed character");
        }
        return true;
    }

    // Text up to the next '<' (or the quote that ends an attribute value).
    bool characters(char stop) {
        while (!at_end() && text[pos] != stop && text[pos] != '<') {
            if (text[pos] == '&') {
                ++pos;
                if (!reference()) {
                    return false;
                }
            } else if (stop == '<' && take("]]>")) {
                return fail("\"]]>\" in text");
            } else {
                ++pos;
            }
        }
        return true;
    }

    // An attribute of the element whose attributes start at index first.
    bool attribute(std::string_view element, std::size_t first) {
        const std::string_view n = name();
        if (n.empty()) {
            return fail("an attribute without a name");
        }
        for (std::size_t i = first; i < attributes->size(); ++i) {
            if ((*attributes)[i].name == n) {
                return fail("an attribute given twice");
            }
        }
        blanks();
        if (!take("=")) {
            return fail("an attribute without a value");
        }
        blanks();
        const char quote = peek();
        if (quote != '"' && quote != '\'') {
            return fail("an unquoted attribute value");
        }
        ++pos;
        const std::size_t start = pos;
        if (!characters(quote)) {
            return false;
        }
        if (!take(std::string_view(&quote, 1))) {
            return fail("'<' or the end inside an attribute value");
        }
        attributes->push_back({element, n, text.substr(start, pos - 1 - start)});
        return true;
    }

    // An element after its '<'; its content and end tag too.
    bool element(int depth) {
        if (depth > 64) {
            return fail("elements nested too deep");
        }
        const std::string_view n = name();
        if (n.empty()) {
            return fail("a tag without a name");
        }
        const std::size_t first = attributes->size();
        for (;;) {
            const bool blank = !at_end() && is_blank(text[pos]);
            blanks();
            if (take("/>")) {
                return true;
            }
            if (take(">")) {
                break;
            }
            if (!blank || !attribute(n, first)) {
                return fail("a malformed start tag");
            }
        }
        for (;;) {
            if (!characters('<')) {
                return false;
            }
            if (at_end()) {
                return fail("an element that is never closed");
            }
            if (take("</")) {
                if (name() != n) {
                    return fail("an end tag that closes another element");
                }
                blanks();
                return take(">") || fail("a malformed end tag");
            }
            ++pos;
            if (!element(depth + 1)) {
                return false;
            }
        }
    }

    bool document() {
        if (!take("<?xml version=\"1.0\" encoding=\"UTF-8\"?>")) {
            return fail("no XML declaration");
        }
        blanks();
        if (!take("<") || !element(0)) {
            return fail("no root element");
        }
        blanks();
        return at_end() || fail("more than the root element");
    }
};

}  // namespace

const char* xml_problem(std::string_view text, std::vector<XmlAttribute>* attributes) {
    for (std::size_t i = 0; i < text.size();) {
        uint32_t c = 0;
        if (!decode(text, i, c)) {
            return "invalid UTF-8";
        }
        if (!allowed_char(c)) {
            return "a character that XML does not allow";
        }
    }
    std::vector<XmlAttribute> own;
    Parser parser{text, attributes != nullptr ? attributes : &own};
    parser.document();
    return parser.problem;
}
