#include "driver/hole_chart_run.hpp"

#include <cstdio>
#include <cstdlib>

#include "chart/chart_layout.hpp"
#include "chart/hole_collection.hpp"
#include "chart/hole_type_table.hpp"
#include "driver/chart_settings.hpp"
#include "driver/run_state.hpp"
#include "entity/entity_file.hpp"
#include "util/file_probe.hpp"

namespace {

constexpr const char* kSettingsCode = "[Error Code : 1109]\n";
constexpr const char* kEntityFileCode = "[Error Code : 1119]\n";
constexpr const char* kResultFileCode = "[Error Code : 1129]\n";
constexpr const char* kArgumentsCode = "[Error Code : 2109]\n";
constexpr const char* kFileNotFound = "File not found...\n";
constexpr const char* kTooFewArguments = "Too few arguments...\n";
constexpr const char* kCannotWriteResult = "Cannot write the result file...\n";

bool write_message_file(const std::string& path, const char* code_line, const char* message_line) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fputs(code_line, file) >= 0 && std::fputs(message_line, file) >= 0;
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

}  // namespace

bool deliver_message(const FixedPaths& paths, const char* code_line, const char* message_line) {
    bool shown = false;
    if (write_message_file(paths.message_file, code_line, message_line)) {
        std::fflush(stdout);
        std::fflush(stderr);
        shown = run_program_and_wait(paths.message_box_program);
    }
    std::remove(paths.message_file.c_str());
    if (!shown) {
        std::fputs(code_line, stderr);
        std::fputs(message_line, stderr);
        std::fflush(stderr);
    }
    return shown;
}

void report_error(const FixedPaths& paths, const char* code_line, const char* message_line) {
    deliver_message(paths, code_line, message_line);
    std::exit(0);
}

int run_hole_chart(int argc, char** argv) {
    const FixedPaths paths = build_fixed_paths();
    RunState state;
    state.origin_x = 0.0;
    state.origin_y = 0.0;

    if (probe_file_lines(paths.settings_file.c_str()) != 1) {
        report_error(paths, kSettingsCode, kFileNotFound);
    }
    if (probe_file_lines(paths.entity_file.c_str()) != 1) {
        report_error(paths, kEntityFileCode, kFileNotFound);
    }
    if (argc < 7) {
        report_error(paths, kArgumentsCode, kTooFewArguments);
    }

    const SettingsResult settings = read_chart_settings(paths.settings_file.c_str());
    if (settings.problem != nullptr) {
        report_error(paths, kSettingsCode, settings.problem);
    }
    state.settings = settings.settings;

    // Text that does not begin with a number reads as 0; trailing text and
    // arguments after the sixth number are ignored.
    state.window.x1 = std::strtod(argv[1], nullptr);
    state.window.y1 = std::strtod(argv[2], nullptr);
    state.window.x2 = std::strtod(argv[3], nullptr);
    state.window.y2 = std::strtod(argv[4], nullptr);
    state.origin_x = std::strtod(argv[5], nullptr);
    state.origin_y = std::strtod(argv[6], nullptr);
    normalise_window(state.window);

    state.unit_factor = 2.5 / state.settings.chart_text_height;
    state.chart_count = 0;
    state.chart_list = entity_list_create(2);

    EntityList entities;
    int entity_count = 0;
    read_entity_file(paths.entity_file.c_str(), entities, entity_count);

    const int holes = collect_holes(entities, entity_count);
    if (holes == 0) {
        return 0;
    }
    order_holes(entities, holes);
    const int positions = build_position_keys(entities, holes);

    std::vector<HoleTypeRow> rows = parse_type_rows(entities, positions);
    order_positions(entities, rows, positions, state.origin_x, state.origin_y);
    draw_hole_chart(state, entities, rows, positions);

    if (state.settings.layer_mode != 1) {
        override_layer(state.chart_list, state.chart_count, state.settings.layer_name,
                       state.settings.layer_color);
    }
    if (!write_entity_file(state.chart_list, state.chart_count, paths.result_file.c_str())) {
        report_error(paths, kResultFileCode, kCannotWriteResult);
    }
    return 0;
}
