#include "tools/holechart_dxf/dxf_reader.hpp"

#include <dxflib/dl_dxf.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "tools/common/output_file.hpp"
#include "tools/holechart_dxf/dxf_entities.hpp"

namespace {

constexpr const char* kBinarySentinel = "AutoCAD Binary DXF";
// The library reads lines of at most this many characters.
constexpr std::size_t kLongestLine = DL_DXF_MAXLINE - 1;

std::size_t line_ends_in(const std::string& bytes, std::size_t begin, std::size_t end) {
    std::size_t count = 0;
    for (std::size_t i = begin; i < end; ++i) {
        count += bytes[i] == '\n' ? 1 : 0;
    }
    return count;
}

std::size_t line_number_at(const std::string& bytes, std::size_t offset) {
    return line_ends_in(bytes, 0, offset) + 1;
}

bool read_whole_file(std::FILE* file, std::string& bytes) {
    char chunk[1 << 16];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes.append(chunk, got);
    }
    return std::ferror(file) == 0;
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
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        error = "cannot read " + shown_path(path) + ": it is a folder";
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        error = "cannot read " + shown_path(path) + ": " + std::strerror(errno);
        return false;
    }
    std::string& bytes = drawing.bytes;
    if (!read_whole_file(file, bytes)) {
        error = "cannot read " + shown_path(path) + ": " + std::strerror(errno);
        std::fclose(file);
        return false;
    }
    if (bytes.compare(0, std::strlen(kBinarySentinel), kBinarySentinel) == 0) {
        error = shown_path(path) + " is a binary DXF file; save the drawing as ASCII DXF";
        std::fclose(file);
        return false;
    }
    const std::size_t first_end = bytes.find('\n');
    if (first_end != std::string::npos && first_end > 0 && bytes[first_end - 1] == '\r') {
        drawing.layout.line_end = "\r\n";
    }

    // The library reads the file one pair (group code line, value line) per
    // call; the file position after each call marks where each pair ends.
    std::rewind(file);
    EntityMapper reader(drawing);
    DL_Dxf dxf;
    // The library's reader starts its state only in DL_Dxf::in(): reading an
    // empty stream with it does that. Its version, which decides whether an
    // MTEXT rotation is in degrees, is set only by a "dxflib" comment in the
    // file: one handed over first gives the degrees that DXF writers use.
    std::istringstream nothing;
    dxf.in(nothing, &reader);
    dxf.processDXFGroup(&reader, 999, "dxflib " DL_VERSION);
    std::size_t before = 0;
    bool ok = true;
    for (;;) {
        reader.pair_read = false;
        const bool more = dxf.readDxfGroups(file, &reader);
        const long position = std::ftell(file);
        const std::size_t after = position < 0 ? bytes.size() : static_cast<std::size_t>(position);
        if (reader.structure.first_pair_seen && !reader.structure.starts_like_dxf) {
            break;
        }
        if (reader.pair_read) {
            // A line longer than the library's buffer is read in pieces,
            // which would pair codes with the wrong values from there on.
            const std::size_t ends = line_ends_in(bytes, before, after);
            const bool last_line_open = after == bytes.size() && bytes.back() != '\n';
            if (ends != 2 && !(ends == 1 && last_line_open)) {
                error = shown_path(path) + ": line " +
                        std::to_string(line_number_at(bytes, before) + (ends == 0 ? 0 : 1)) +
                        " is longer than the " + std::to_string(kLongestLine) +
                        " characters the DXF reader takes";
                ok = false;
                break;
            }
            switch (reader.event) {
                case PairEvent::entities_end:
                    drawing.layout.entities_end = before;
                    break;
                case PairEvent::layer_table_end:
                    drawing.layout.layer_table_end = before;
                    break;
                case PairEvent::handseed:
                    drawing.layout.handseed_begin = before;
                    drawing.layout.handseed_end = after;
                    break;
                case PairEvent::none:
                    break;
            }
        }
        before = after;
        if (!more || reader.structure.saw_eof) {
            break;
        }
    }
    std::fclose(file);
    if (!ok) {
        return false;
    }
    if (bytes.empty()) {
        error = shown_path(path) + " is empty, not a DXF file";
        return false;
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
