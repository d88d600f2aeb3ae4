// Arbitrary bytes as an exchange file drawn by fad2svg, in memory: the SVG
// must be well-formed XML of the kind fad2svg writes, with unique ids, and
// no number in it may read "nan" or "inf". Odd lengths draw on the dark
// background, so that both palettes are drawn.
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "tests/fuzz/fuzz_support.hpp"
#include "tests/fuzz/svg_check.hpp"
#include "tools/fad2svg/render.hpp"

using fad2svg::Background;
using fad2svg::render_bytes;
using fad2svg::SvgOptions;

namespace {

[[noreturn]] void fail(const char* why, std::string_view detail) {
    std::fprintf(stderr, "fuzz_fad2svg: %s: %.*s\n", why, static_cast<int>(detail.size()),
                 detail.data());
    std::abort();
}

// Attributes that carry names from the drawing rather than numbers.
bool holds_names(std::string_view name) {
    return name == "id" || name == "inkscape:label" || name.substr(0, 5) == "xmlns";
}

bool has_nan_or_inf(std::string_view value) {
    std::string lower(value);
    for (char& c : lower) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos;
}

// A few documents that the check must refuse, so that a check grown lax
// cannot pass everything.
void check_the_check() {
    static const char* const kBroken[] = {
        "<svg/>",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg>",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg a=b/>",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg a=\"1\" a=\"2\"/>",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg><g></svg></g>",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg>&nbsp;</svg>",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg>&#1;</svg>",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg>\x01</svg>",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg>\xC0\x80</svg>",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg>\xED\xA0\x80</svg>",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg/><svg/>",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg t=\"<\"/>",
    };
    for (const char* text : kBroken) {
        if (xml_problem(text) == nullptr) {
            fail("the XML check takes a broken document", text);
        }
    }
    if (const char* why = xml_problem("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg "
                                      "a='&amp;&#x3C;'>\xC3\xA9 <g/></svg>\n")) {
        fail("the XML check refuses a sound document", why);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    check_the_check();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    SvgOptions options;
    options.background = size % 2 == 1 ? Background::dark : Background::light;
    std::vector<std::string> warnings;
    const std::string svg = render_bytes(options, "Object.fad", bytes_of(data, size), warnings);
    std::vector<XmlAttribute> attributes;
    if (const char* why = xml_problem(svg, &attributes)) {
        fail(why, svg);
    }
    std::set<std::string_view> ids;
    for (const XmlAttribute& a : attributes) {
        if (a.name == "id" && !ids.insert(a.value).second) {
            fail("an id given twice", a.value);
        }
        if (!holds_names(a.name) && has_nan_or_inf(a.value)) {
            fail("a number that is no number", a.value);
        }
    }
    for (const std::string& warning : warnings) {
        if (warning.find('\n') != std::string::npos) {
            fail("a warning of more than one line", warning);
        }
    }
    return 0;
}
