#include "tools/fad2svg/render.hpp"

#include <filesystem>
#include <set>

#include "entity/entity_file.hpp"
#include "tools/common/input_file.hpp"
#include "tools/fad2svg/scene.hpp"
#include "tools/fad2svg/svg_text.hpp"
#include "tools/fad2svg/svg_writer.hpp"
#include "util/native_name.hpp"

namespace {

// A regular file that opens, checked before it is read: a folder, FIFO or
// device is refused at once, never waited on or read without end.
bool check_readable(const std::string& path, std::string& error) {
    const std::string reason = unreadable_input_reason(path);
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

bool render_files(const Options& options, std::string& svg, std::vector<std::string>& warnings,
                  std::string& error) {
    Scene scene;
    const std::set<std::string> only_layers(options.layers.begin(), options.layers.end());
    for (const std::string& path : options.inputs) {
        if (!check_readable(path, error)) {
            return false;
        }
        EntityList list;
        int count = 0;
        if (!read_entity_file(path.c_str(), list, count)) {
            warnings.push_back(shown(path) + " holds no entities");
            scene.files.push_back(display_name(path));
            continue;
        }
        FileReport report;
        add_file_entities(scene, display_name(path), list, count, only_layers, report);
        if (report.skipped > 0) {
            warnings.push_back(shown(path) + ": " + std::to_string(report.skipped) +
                               (report.skipped == 1 ? " entity" : " entities") +
                               " of an unknown kind or with unusable numbers not drawn");
        }
    }
    for (const std::string& layer : options.layers) {
        if (scene.layers_seen.count(layer) == 0) {
            warnings.push_back("no entity is on layer " + shown(layer));
        }
    }
    if (scene.shape_count == 0) {
        warnings.push_back("nothing to draw");
    }
    svg = write_svg(scene, SvgStyle{options.background, options.width});
    return true;
}
