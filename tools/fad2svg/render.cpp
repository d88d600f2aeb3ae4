#include "tools/fad2svg/render.hpp"

#include <filesystem>
#include <set>

#include "entity/entity_file.hpp"
#include "entity/token_stream.hpp"
#include "tools/common/input_file.hpp"
#include "tools/fad2svg/scene.hpp"
#include "tools/fad2svg/svg_text.hpp"
#include "tools/fad2svg/svg_writer.hpp"
#include "util/native_name.hpp"

namespace fad2svg {

namespace {

// A regular file that opens, checked before it is read: a folder, FIFO or
// device is refused at once, never waited on or read without end.
bool check_readable(const std::string& path, std::string& error) {
    const std::string reason = companion::unreadable_input_reason(path);
    if (!reason.empty()) {
        error = "cannot read " + shown(path) + ": " + reason;
        return false;
    }
    return true;
}

std::string display_name(const std::string& path) {
    const std::string name = utf8_name(native_path(path).filename());
    return name.empty() ? path : name;
}

}  // namespace

std::string shown(const std::string& name) {
    return "'" + clean_utf8(name) + "'";
}

namespace {

// The picture being drawn: the scene, the layers asked for and the notes
// about what could not be drawn.
struct Drawing {
    Scene scene;
    std::set<std::string> only_layers;
    std::vector<std::string>& warnings;
};

// Draws one input over the ones before; read tells whether it held records.
void draw_input(Drawing& d, const std::string& name, bool read, const EntityList& list, int count) {
    if (!read) {
        d.warnings.push_back(shown(name) + " holds no entities");
        d.scene.files.push_back(display_name(name));
        return;
    }
    FileReport report;
    add_file_entities(d.scene, display_name(name), list, count, d.only_layers, report);
    if (report.skipped > 0) {
        d.warnings.push_back(shown(name) + ": " + std::to_string(report.skipped) +
                             (report.skipped == 1 ? " entity" : " entities") +
                             " of an unknown kind or with unusable numbers not drawn");
    }
}

std::string finish_drawing(Drawing& d, const SvgOptions& options) {
    for (const std::string& layer : options.layers) {
        if (d.scene.layers_seen.count(layer) == 0) {
            d.warnings.push_back("no entity is on layer " + shown(layer));
        }
    }
    if (d.scene.shape_count == 0) {
        d.warnings.push_back("nothing to draw");
    }
    return write_svg(d.scene, SvgStyle{options.background, options.width});
}

}  // namespace

bool render_files(const SvgOptions& options, std::string& svg, std::vector<std::string>& warnings,
                  std::string& error) {
    Drawing d{Scene{}, {options.layers.begin(), options.layers.end()}, warnings};
    for (const std::string& path : options.inputs) {
        if (!check_readable(path, error)) {
            return false;
        }
        EntityList list;
        int count = 0;
        const bool read = read_entity_file(path.c_str(), list, count);
        draw_input(d, path, read, list, count);
    }
    svg = finish_drawing(d, options);
    return true;
}

std::string render_bytes(const SvgOptions& options, const std::string& name, std::string_view bytes,
                         std::vector<std::string>& warnings) {
    Drawing d{Scene{}, {options.layers.begin(), options.layers.end()}, warnings};
    EntityList list;
    int count = 0;
    const bool read = read_entity_file(MemoryFile{bytes}, list, count);
    draw_input(d, name, read, list, count);
    return finish_drawing(d, options);
}

}  // namespace fad2svg
