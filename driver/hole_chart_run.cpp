#include "driver/hole_chart_run.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "chart/chart_layout.hpp"
#include "chart/chart_values.hpp"
#include "chart/hole_collection.hpp"
#include "chart/hole_type_table.hpp"
#include "driver/chart_settings.hpp"
#include "driver/run_state.hpp"
#include "entity/entity_file.hpp"
#include "util/file_probe.hpp"

namespace {

constexpr RunError kSettingsMissing{"[Error Code : 1109]\n", "File not found...\n"};
constexpr RunError kEntitiesMissing{"[Error Code : 1119]\n", "File not found...\n"};
constexpr RunError kTooFewArguments{"[Error Code : 2109]\n", "Too few arguments...\n"};
constexpr RunError kInvalidArguments{"[Error Code : 2119]\n", "Invalid arguments...\n"};
constexpr RunError kCannotWriteResult{"[Error Code : 1129]\n", "Cannot write the result file...\n"};
constexpr RunError kInvalidHoleValues{"[Error Code : 1139]\n",
                                      "Invalid hole values in drawing...\n"};
constexpr RunError kChartOutOfRange{"[Error Code : 3109]\n", "Chart values out of range...\n"};

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
    if (const std::optional<RunError> error = perform_hole_chart_run(paths, argc, argv)) {
        report_error(paths, error->code_line, error->message_line);
    }
    return 0;
}

std::optional<RunError> perform_hole_chart_run(const FixedPaths& paths, int argc, char** argv) {
    RunState state;
    state.origin_x = 0.0;
    state.origin_y = 0.0;

    if (probe_file_lines(paths.settings_file.c_str()) != 1) {
        return kSettingsMissing;
    }
    if (probe_file_lines(paths.entity_file.c_str()) != 1) {
        return kEntitiesMissing;
    }
    if (argc < 7) {
        return kTooFewArguments;
    }

    const SettingsResult settings = read_chart_settings(paths.settings_file.c_str());
    if (settings.problem != nullptr) {
        return RunError{kSettingsMissing.code_line, settings.problem};
    }
    state.settings = settings.settings;

    // Text that does not begin with a number reads as 0; trailing text and
    // arguments after the sixth number are ignored.
    double numbers[6];
    for (int i = 0; i < 6; ++i) {
        numbers[i] = std::strtod(argv[i + 1], nullptr);
        // "nan", "inf" or a number beyond the range of a double would put
        // the chart nowhere.
        if (!std::isfinite(numbers[i])) {
            return kInvalidArguments;
        }
    }
    state.window = ChartWindow{numbers[0], numbers[1], numbers[2], numbers[3]};
    state.origin_x = numbers[4];
    state.origin_y = numbers[5];
    normalise_window(state.window);

    state.unit_factor = 2.5 / state.settings.chart_text_height;
    state.chart_count = 0;
    state.chart_list = entity_list_create(2);

    EntityList entities;
    int entity_count = 0;
    read_entity_file(paths.entity_file.c_str(), entities, entity_count);

    const int holes = collect_holes(entities, entity_count);
    if (holes == 0) {
        return std::nullopt;
    }
    order_holes(entities, holes);
    const int positions = build_position_keys(entities, holes);

    std::vector<HoleTypeRow> rows = parse_type_rows(entities, positions);
    order_positions(entities, rows, positions, state.origin_x, state.origin_y);
    if (!hole_values_finite(entities, rows, positions, state.origin_x, state.origin_y)) {
        return kInvalidHoleValues;
    }
    draw_hole_chart(state, entities, rows, positions);
    if (!chart_entities_finite(state)) {
        return kChartOutOfRange;
    }

    if (state.settings.layer_mode != 1) {
        override_layer(state.chart_list, state.chart_count, state.settings.layer_name,
                       state.settings.layer_color);
    }
    if (!write_entity_file(state.chart_list, state.chart_count, paths.result_file.c_str())) {
        return kCannotWriteResult;
    }
    return std::nullopt;
}
