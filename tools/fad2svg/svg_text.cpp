#include "tools/fad2svg/svg_text.hpp"

#include <cstdint>

#include "util/number_text.hpp"

namespace fad2svg {

namespace {

constexpr const char* kReplacement = "\xEF\xBF\xBD";  // U+FFFD

void append_code_point(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

bool is_continuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Decodes the sequence at text[i]. Returns its length, or 0 when the bytes
// there are not a well-formed sequence (overlong forms and surrogates
// included).
std::size_t decode(std::string_view text, std::size_t i, uint32_t& cp) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    uint32_t minimum = 0;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1Fu;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0Fu;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07u;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (text.size() - i < length) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const auto byte = static_cast<unsigned char>(text[i + k]);
        if (!is_continuation(byte)) {
            return 0;
        }
        cp = (cp << 6) | (byte & 0x3Fu);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return 0;
    }
    return length;
}

bool is_xml_text_char(uint32_t cp) {
    if (cp == '\t') {
        return true;
    }
    if (cp < 0x20 || (cp >= 0x7F && cp <= 0x9F)) {
        return false;
    }
    return cp != 0xFFFE && cp != 0xFFFF;
}

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

std::string expand_cad_codes(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '%' && i + 2 < text.size() && text[i + 1] == '%') {
            const char code = upper(text[i + 2]);
            const char* replacement = nullptr;
            switch (code) {
                case 'C':
                    replacement = "\xC3\x98";  // Ø
                    break;
                case 'D':
                    replacement = "\xC2\xB0";  // °
                    break;
                case 'P':
                    replacement = "\xC2\xB1";  // ±
                    break;
                case '%':
                    replacement = "%";
                    break;
                case 'U':
                case 'O':
                    replacement = "";
                    break;
                default:
                    break;
            }
            if (replacement != nullptr) {
                out += replacement;
                i += 3;
                continue;
            }
        }
        out.push_back(text[i]);
        ++i;
    }
    return out;
}

std::string clean_utf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        uint32_t cp = 0;
        const std::size_t length = decode(bytes, i, cp);
        if (length == 0) {
            out += kReplacement;
            ++i;
        } else if (!is_xml_text_char(cp)) {
            out += kReplacement;
            i += length;
        } else {
            if (length == 1) {
                out.push_back(bytes[i]);
            } else {
                append_code_point(out, cp);
            }
            i += length;
        }
    }
    return out;
}

void append_escaped(std::string& out, std::string_view clean_text) {
    for (char c : clean_text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                out.push_back(c);
                break;
        }
    }
}

std::size_t count_code_points(std::string_view clean_text) {
    std::size_t count = 0;
    for (char c : clean_text) {
        if (!is_continuation(static_cast<unsigned char>(c))) {
            ++count;
        }
    }
    return count;
}

std::string id_for_layer(std::string_view name) {
    std::string id = "layer-";
    for (char c : name) {
        const bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                          (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
        id.push_back(keep ? c : '_');
    }
    return id;
}

void append_number(std::string& out, double value, int decimals) {
    const std::size_t start = out.size();
    append_fixed(out, value, decimals);
    if (out.find('.', start) != std::string::npos) {
        while (out.back() == '0') {
            out.pop_back();
        }
        if (out.back() == '.') {
            out.pop_back();
        }
    }
    if (out.compare(start, std::string::npos, "-0") == 0) {
        out.erase(start, 1);
    }
}

}  // namespace fad2svg
