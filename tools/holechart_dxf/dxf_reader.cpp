#include "tools/holechart_dxf/dxf_reader.hpp"

#include <dxflib/dl_dxf.h>

#include <cstring>
#include <limits>
#include <sstream>

#include "tools/common/input_file.hpp"
#include "tools/common/output_file.hpp"
#include "tools/holechart_dxf/dxf_entities.hpp"
#include "tools/holechart_dxf/dxf_pairs.hpp"

namespace {

constexpr const char* kBinarySentinel = "AutoCAD Binary DXF";
// The library keeps some values in buffers of this many characters: longer
// ones reach it cut, which loses nothing the mapping reads (texts go into
// fields of at most 260 characters).
constexpr std::size_t kLongestValue = DL_DXF_MAXLINE - 1;

bool is_chart_entity(const DxfObject& object) {
    return object.chart_mark && object.section == "ENTITIES" &&
           (object.type == "LINE" || object.type == "TEXT");
}

}  // namespace

std::string dxf_upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

bool read_dxf_drawing(const std::string& path, DxfDrawing& drawing, std::string& error) {
    drawing = DxfDrawing{};
    std::string& bytes = drawing.bytes;
    // Bounded by the file's size when it was opened, or for standard input
    // by kStandardInputLimit.
    if (read_input_file(path, std::numeric_limits<std::uint64_t>::max(), bytes, error) !=
        InputRead::read) {
        return false;
    }
    if (bytes.compare(0, std::strlen(kBinarySentinel), kBinarySentinel) == 0) {
        error = shown_path(path) + " is a binary DXF file; save the drawing as ASCII DXF";
        return false;
    }
    const std::size_t first_end = bytes.find('\n');
    if (first_end != std::string::npos && first_end > 0 && bytes[first_end - 1] == '\r') {
        drawing.layout.line_end = "\r\n";
    }
    if (bytes.empty()) {
        error = shown_path(path) + " is empty, not a DXF file";
        return false;
    }

    // The pairs are read here, with their places in the file, and handed
    // to the library one by one, trimmed and on lines it can read.
    EntityMapper reader(drawing);
    DL_Dxf dxf;
    // The library's reader starts its state only in DL_Dxf::in(): reading an
    // empty stream with it does that. Its version, which decides whether an
    // MTEXT rotation is in degrees, is set only by a "dxflib" comment in the
    // file: one handed over first gives the degrees that DXF writers use.
    std::istringstream nothing;
    dxf.in(nothing, &reader);
    dxf.processDXFGroup(&reader, 999, "dxflib " DL_VERSION);
    DxfStructure& structure = reader.structure;
    DxfPairScanner scanner(bytes);
    DxfPair pair;
    std::size_t object_begin = 0;
    std::string value;
    std::string normalised;
    std::istringstream stream;
    for (;;) {
        const DxfPairScanner::Result result = scanner.next(pair);
        if (result == DxfPairScanner::Result::end) {
            break;
        }
        if (result == DxfPairScanner::Result::bad_code) {
            if (!structure.first_pair_seen) {
                break;  // not DXF at all, said below
            }
            std::string shown(pair.value.substr(0, 40));
            for (char& c : shown) {
                c = static_cast<unsigned char>(c) < 0x20 ? '?' : c;
            }
            error = shown_path(path) + ": line " + std::to_string(pair.line) + " holds '" + shown +
                    "' where a group code should be";
            return false;
        }
        value.assign(pair.value);
        switch (take_pair(structure, static_cast<unsigned int>(pair.code), value)) {
            case PairEvent::entities_end:
                drawing.layout.entities_end = pair.begin;
                break;
            case PairEvent::layer_table_end:
                drawing.layout.layer_table_end = pair.begin;
                break;
            case PairEvent::appid_table_end:
                drawing.layout.appid_table_end = pair.begin;
                break;
            case PairEvent::handseed:
                drawing.layout.handseed_begin = pair.begin;
                drawing.layout.handseed_end = pair.end;
                break;
            case PairEvent::none:
                break;
        }
        if (structure.first_pair_seen && !structure.starts_like_dxf) {
            break;
        }
        if (pair.code == 0) {
            reader.take_other_kind(structure.completing);
            if (is_chart_entity(structure.completing)) {
                drawing.layout.earlier_chart.push_back({object_begin, pair.begin});
            }
            object_begin = pair.begin;
        }
        if (value.size() > kLongestValue) {
            value.resize(kLongestValue);
        }
        // The library reads the pair in the form its own reader needs:
        // some of its handlers take it from where that reader leaves it.
        normalised.assign(std::to_string(pair.code)).append(1, '\n').append(value).append(1, '\n');
        stream.str(normalised);
        stream.clear();
        dxf.readDxfGroups(stream, &reader);
        if (structure.saw_eof) {
            break;
        }
    }
    if (!reader.structure.starts_like_dxf) {
        error = shown_path(path) + " is not a DXF file: it does not begin with a SECTION";
        return false;
    }
    if (!reader.structure.saw_eof) {
        error = shown_path(path) + " ends early: the DXF file has no EOF marker";
        return false;
    }
    reader.finish();
    return true;
}
