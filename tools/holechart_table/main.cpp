// holechart-table: the hole table of a drawing as CSV, TSV or JSON, for a
// spreadsheet, an inspection report or a CNC program. It runs the tool's
// own chart pass, so its rows, numbers and coordinates are the chart's.
#include <cstdio>
#include <string>
#include <vector>

#include "chart/chart_pass.hpp"
#include "chart/hole_collection.hpp"
#include "driver/chart_settings.hpp"
#include "driver/run_errors.hpp"
#include "tools/common/companion_main.hpp"
#include "tools/common/hole_table.hpp"
#include "tools/common/input_file.hpp"
#include "tools/common/output_file.hpp"
#include "tools/common/run_outputs.hpp"
#include "tools/holechart_table/options.hpp"
#include "util/file_probe.hpp"
#include "util/version.hpp"

namespace {

constexpr int kRunError = 1;
constexpr int kUsageError = 2;

// The window does not change the rows, their order or their numbers: one
// tall enough that the chart needs no second column.
constexpr double kWindow[4] = {0.0, -1e12, 0.0, 0.0};

void report(const std::string& message) {
    std::fprintf(stderr, "holechart-table: %s\n", message.c_str());
}

// Whether the file can be read, and the reason in words when not: what the
// tool reports as "File not found...".
bool usable_input(const std::string& path, const char* what, std::string& error) {
    switch (probe_file_lines(path.c_str())) {
        case 1:
            return true;
        case -1:
            error = std::string(what) + " " + shown_path(path) + " is empty";
            return false;
        default: {
            const std::string reason = unreadable_input_reason(path);
            error = "cannot read " + std::string(what) + " " + shown_path(path) + ": " +
                    (reason.empty() ? std::string("it cannot be read") : reason);
            return false;
        }
    }
}

int run(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    TableOptions options;
    std::string error;
    if (!parse_table_options(args, options, error)) {
        report(error);
        return kUsageError;
    }
    if (options.help) {
        std::fputs(table_usage_text(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("holechart-table %s\n", holechart_version());
        return 0;
    }
    std::vector<std::string> inputs = {options.drawing};
    if (!options.settings.empty()) {
        inputs.push_back(options.settings);
    }
    if (!options.force && output_is_an_input(inputs, options.output, error)) {
        report(error);
        return kUsageError;
    }

    ChartSettings settings;
    if (!options.settings.empty()) {
        if (!usable_input(options.settings, "the settings", error)) {
            report(error);
            return kRunError;
        }
        const SettingsResult read = read_chart_settings(options.settings.c_str());
        if (read.problem != nullptr) {
            report(shown_path(options.settings) + ": " + one_line(read.problem));
            return kRunError;
        }
        settings = read.settings;
    }
    if (!usable_input(options.drawing, "the drawing", error)) {
        report(error);
        return kRunError;
    }

    const double numbers[6] = {kWindow[0], kWindow[1],        kWindow[2],
                               kWindow[3], options.origin[0], options.origin[1]};
    RunState state;
    start_run_state(state, settings, numbers);
    // The table needs only the holes, read as the tool itself reads them.
    EntityList holes;
    int count = 0;
    read_hole_records(options.drawing.c_str(), holes, count);
    const ChartOutcome outcome = chart_the_drawing(state, holes, count);
    if (const std::optional<RunError> run_error = run_error_of(outcome)) {
        report(shown_path(options.drawing) + ": " + one_line(run_error->message_line));
        return kRunError;
    }
    if (outcome == ChartOutcome::no_holes) {
        report("no holes in " + shown_path(options.drawing) + ": the table has no rows");
    }
    const std::string table =
        format_hole_table(state.listing, options.format, options.byte_order_mark);
    if (!write_outputs({{options.output, table}}, error)) {
        report(error);
        return kRunError;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return run_companion("holechart-table", run, argc, argv);
}
