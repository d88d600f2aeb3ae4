#include "driver/hole_chart_run.hpp"

#include <cstdio>
#include <cstdlib>
#include <new>
#include <stdexcept>

#include "chart/chart_pass.hpp"
#include "chart/hole_reading.hpp"
#include "driver/chart_settings.hpp"
#include "driver/usage.hpp"
#include "entity/entity_file.hpp"
#include "entity/token_stream.hpp"
#include "util/file_probe.hpp"
#include "util/safe_file.hpp"
#include "util/version.hpp"

namespace {

// "message.dat" has a fixed name, since the message box program looks for
// it: a leftover file or link of that name goes, and the file is created
// new, so that nothing planted there can redirect the message.
bool write_message_file(const std::string& path, const char* code_line, const char* message_line,
                        FileIdentity& identity) {
    remove_file_or_link(path);
    std::FILE* file = create_new_file(path, true, identity);
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fputs(code_line, file) >= 0 && std::fputs(message_line, file) >= 0;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        remove_own_file(path, identity);
    }
    return written && closed;
}

}  // namespace

bool deliver_message(const FixedPaths& paths, const char* code_line, const char* message_line) {
    bool shown = false;
    FileIdentity identity;
    if (write_message_file(paths.message_file, code_line, message_line, identity)) {
        std::fflush(stdout);
        std::fflush(stderr);
        shown = run_program_and_wait(paths.message_box_program);
        // Only the file this run created: a folder or file that took its
        // place meanwhile is not ours to delete.
        remove_own_file(paths.message_file, identity);
    }
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
    ignore_file_size_signal();
    // Held to the end of the process, message box included.
    WorkFolderLock lock = lock_work_folder(paths.work_folder);
    std::optional<RunError> error;
    try {
        error = perform_hole_chart_run(paths, argc, argv);
    } catch (const std::bad_alloc&) {
        fail_allocation("Memori ERROR\n");
    } catch (const std::length_error&) {
        // A size beyond what any allocation could hold.
        fail_allocation("Memori ERROR\n");
    }
    if (error) {
        report_error(paths, error->code_line, error->message_line);
    }
    unlock_work_folder(lock);
    return 0;
}

namespace {

bool has_text(const RunInput& input) {
    return input.path != nullptr ? probe_file_lines(input.path) == 1 : !input.memory.bytes.empty();
}

SettingsResult read_settings(const RunInput& input) {
    return input.path != nullptr ? read_chart_settings(input.path)
                                 : read_chart_settings(input.memory);
}

// Only holes take part in the chart, and the chart pass keeps them in
// drawing order: reading just those gives the same chart, with memory for
// the holes instead of every entity. A drawing that cannot be opened has no
// holes.
void read_holes(const RunInput& input, EntityList& holes, int& count) {
    holes.records.clear();
    count = 0;
    TokenStream stream;
    int records = 0;
    const bool opened = input.path != nullptr ? open_entity_records(input.path, stream, records)
                                              : open_entity_records(input.memory, stream, records);
    if (opened) {
        read_stream_holes(stream, records, holes, count);
    }
}

}  // namespace

std::optional<RunError> compute_hole_chart(const RunInput& settings, const RunInput& drawing,
                                           int argc, char** argv, ComputedChart& chart) {
    chart.charted = false;
    if (!has_text(settings)) {
        return kSettingsMissing;
    }
    if (!has_text(drawing)) {
        return kEntitiesMissing;
    }
    if (argc < 7) {
        return kTooFewArguments;
    }

    const SettingsResult read = read_settings(settings);
    if (read.problem != nullptr) {
        return RunError{kSettingsMissing.code_line, read.problem};
    }

    // Text that does not begin with a number reads as 0; trailing text and
    // arguments after the sixth number are ignored.
    double numbers[6];
    for (int i = 0; i < 6; ++i) {
        numbers[i] = std::strtod(argv[i + 1], nullptr);
    }
    if (!start_run_state(chart.state, read.settings, numbers)) {
        return kInvalidArguments;
    }

    int hole_count = 0;
    read_holes(drawing, chart.holes, hole_count);
    const ChartOutcome outcome = chart_the_drawing(chart.state, chart.holes, hole_count);
    if (outcome == ChartOutcome::no_holes) {
        return std::nullopt;
    }
    if (std::optional<RunError> error = run_error_of(outcome)) {
        return error;
    }
    chart.charted = true;
    return std::nullopt;
}

std::optional<RunError> perform_hole_chart_run(const FixedPaths& paths, int argc, char** argv) {
    ComputedChart chart;
    const RunInput settings{paths.settings_file.c_str(), {}};
    const RunInput drawing{paths.entity_file.c_str(), {}};
    if (std::optional<RunError> error = compute_hole_chart(settings, drawing, argc, argv, chart)) {
        return error;
    }
    if (chart.charted && !write_entity_file(chart.state.chart_list, chart.state.chart_count,
                                            paths.result_file.c_str())) {
        return kCannotWriteResult;
    }
    return std::nullopt;
}
