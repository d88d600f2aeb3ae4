#include "driver/hole_chart_run.hpp"

#include <cstdio>
#include <cstdlib>
#include <new>
#include <stdexcept>

#include "chart/chart_pass.hpp"
#include "chart/hole_collection.hpp"
#include "driver/chart_settings.hpp"
#include "driver/usage.hpp"
#include "entity/entity_file.hpp"
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

    // Only holes take part in the chart, and the chart pass keeps them in
    // drawing order: reading just those gives the same chart, with memory
    // for the holes instead of every entity.
    EntityList holes;
    int hole_count = 0;
    read_hole_records(paths.entity_file.c_str(), holes, hole_count);

    const ChartOutcome outcome = chart_the_drawing(state, holes, hole_count);
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
