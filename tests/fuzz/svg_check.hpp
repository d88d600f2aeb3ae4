// A strict check of the XML that fad2svg writes: the declaration, one root
// element, tags balanced, attributes quoted and unique, references valid,
// no comments, CDATA or processing instructions, valid UTF-8 and no control
// characters but tab, line feed and carriage return. Strict on purpose: it
// takes only the part of XML that fad2svg needs.
#pragma once

#include <string_view>
#include <vector>

struct XmlAttribute {
    std::string_view element;
    std::string_view name;
    std::string_view value;  // as written, references not expanded
};

// Null when the text is well-formed; else what is wrong first. Every
// attribute is appended to attributes, when given.
const char* xml_problem(std::string_view text, std::vector<XmlAttribute>* attributes = nullptr);
