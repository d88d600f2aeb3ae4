#include "tools/holechart_dxf/dxf_reader.hpp"

#include <cstdint>
#include <cstring>
#include <limits>

#include "tools/common/input_file.hpp"
#include "tools/common/output_file.hpp"
#include "tools/holechart_dxf/dxf_pairs.hpp"
#include "tools/holechart_dxf/dxf_values.hpp"
#include "tools/holechart_dxf/entity_mapper.hpp"

namespace holechart_dxf {

namespace {

constexpr const char* kBinarySentinel = "AutoCAD Binary DXF";

// Whether nothing but blanks and line ends follows offset: a file cut off
// there.
bool only_blanks_from(const std::string& bytes, std::size_t offset) {
    return bytes.find_first_not_of(" \t\r\n", offset) == std::string::npos;
}

// Reads the pairs into the mapper. False with the reason (which names no
// file) when the file is damaged; a file that ends early or is no DXF file
// at all is left to the caller, which sees it in the mapper.
bool read_pairs(const std::string& bytes, EntityMapper& mapper, std::string& error) {
    DxfPairScanner scanner(bytes);
    DxfPair pair;
    for (;;) {
        const DxfPairScanner::Result result = scanner.next(pair);
        if (result == DxfPairScanner::Result::end) {
            return true;
        }
        if (result == DxfPairScanner::Result::bad_code) {
            if (!mapper.first_pair_seen() || only_blanks_from(bytes, pair.begin)) {
                return true;  // no DXF at all, or cut off: said by the caller
            }
            error = "line " + std::to_string(pair.line) + " holds '" + shown_value(pair.value) +
                    "' where a group code should be";
            return false;
        }
        if (!mapper.take_pair(pair, error)) {
            return false;
        }
        if (mapper.first_pair_seen() && !mapper.starts_like_dxf()) {
            return true;
        }
        if (mapper.saw_eof()) {
            return true;
        }
    }
}

}  // namespace

bool read_dxf_drawing(const std::string& path, DxfDrawing& drawing, std::string& error) {
    // Bounded by the file's size when it was opened, or for standard input
    // by kStandardInputLimit.
    std::string bytes;
    if (companion::read_input_file(path, std::numeric_limits<std::uint64_t>::max(), bytes, error) !=
        companion::InputRead::read) {
        return false;
    }
    return read_dxf_bytes(path, std::move(bytes), drawing, error);
}

bool read_dxf_bytes(const std::string& path, std::string bytes, DxfDrawing& drawing,
                    std::string& error) {
    drawing = DxfDrawing{};
    drawing.bytes = std::move(bytes);
    const std::string& b = drawing.bytes;
    if (b.compare(0, std::strlen(kBinarySentinel), kBinarySentinel) == 0) {
        error =
            companion::shown_path(path) + " is a binary DXF file; save the drawing as ASCII DXF";
        return false;
    }
    if (b.empty()) {
        error = companion::shown_path(path) + " is empty, not a DXF file";
        return false;
    }
    const std::size_t first_end = b.find('\n');
    if (first_end != std::string::npos && first_end > 0 && b[first_end - 1] == '\r') {
        drawing.layout.line_end = "\r\n";
    }
    EntityMapper mapper(drawing);
    if (!read_pairs(b, mapper, error)) {
        error = companion::shown_path(path) + ": " + error;
        return false;
    }
    if (!mapper.starts_like_dxf()) {
        error =
            companion::shown_path(path) + " is not a DXF file: it does not begin with a SECTION";
        return false;
    }
    if (!mapper.saw_eof()) {
        error = companion::shown_path(path) + " ends early: the DXF file has no EOF marker";
        return false;
    }
    if (!mapper.finish(error)) {
        error = companion::shown_path(path) + ": " + error;
        return false;
    }
    return true;
}

}  // namespace holechart_dxf
