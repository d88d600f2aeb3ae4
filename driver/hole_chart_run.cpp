#include "driver/hole_chart_run.hpp"

#include <cstdio>
#include <cstdlib>

#include "chart/chart_pass.hpp"
#include "driver/chart_settings.hpp"
#include "driver/usage.hpp"
#include "entity/entity_file.hpp"
#include "util/file_probe.hpp"
#include "util/version.hpp"

namespace {

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
    switch (info_request(argc, argv)) {
        case InfoRequest::help:
            std::fputs(usage_text(paths).c_str(), stdout);
            return std::fflush(stdout) == 0 ? 0 : 1;
        case InfoRequest::version:
            std::printf("holechart %s\n", holechart_version());
            return std::fflush(stdout) == 0 ? 0 : 1;
        case InfoRequest::none:
            break;
    }
    if (const std::optional<RunError> error = perform_hole_chart_run(paths, argc, argv)) {
        report_error(paths, error->code_line, error->message_line);
    }
    return 0;
}

std::optional<RunError> perform_hole_chart_run(const FixedPaths& paths, int argc, char** argv) {
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

    // Text that does not begin with a number reads as 0; trailing text and
    // arguments after the sixth number are ignored.
    double numbers[6];
    for (int i = 0; i < 6; ++i) {
        numbers[i] = std::strtod(argv[i + 1], nullptr);
    }
    RunState state;
    if (!start_run_state(state, settings.settings, numbers)) {
        return kInvalidArguments;
    }

    EntityList entities;
    int entity_count = 0;
    read_entity_file(paths.entity_file.c_str(), entities, entity_count);

    const ChartOutcome outcome = chart_the_drawing(state, entities, entity_count);
    if (outcome == ChartOutcome::no_holes) {
        return std::nullopt;
    }
    if (std::optional<RunError> error = run_error_of(outcome)) {
        return error;
    }
    if (!write_entity_file(state.chart_list, state.chart_count, paths.result_file.c_str())) {
        return kCannotWriteResult;
    }
    return std::nullopt;
}
