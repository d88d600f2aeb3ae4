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
#include "tools/common/command_line.hpp"
#include "tools/common/companion_main.hpp"
#include "tools/common/hole_table.hpp"
#include "tools/common/input_file.hpp"
#include "tools/common/output_file.hpp"
#include "tools/common/run_outputs.hpp"
#include "tools/holechart_table/options.hpp"
#include "util/file_probe.hpp"

namespace holechart_table {

namespace {

using companion::kRunError;

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
            error = std::string(what) + " " + companion::shown_path(path) + " is empty";
            return false;
        default: {
            const std::string reason = companion::unreadable_input_reason(path);
            error = "cannot read " + std::string(what) + " " + companion::shown_path(path) + ": " +
                    (reason.empty() ? std::string("it cannot be read") : reason);
            return false;
        }
    }
}

// The chart settings the options name, or the defaults; false with the
// reason when the named ones cannot be read.
bool read_settings(const TableOptions& options, ChartSettings& settings, std::string& error) {
    if (options.settings.empty()) {
        return true;
    }
    if (!usable_input(options.settings, "the settings", error)) {
        return false;
    }
    const SettingsResult read = read_chart_settings(options.settings.c_str());
    if (read.problem != nullptr) {
        error = companion::shown_path(options.settings) + ": " + companion::one_line(read.problem);
        return false;
    }
    settings = read.settings;
    return true;
}

// Charts the drawing and writes its table. Returns the exit code.
int write_table(const TableOptions& options, const ChartSettings& settings) {
    std::string error;
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
        report(companion::shown_path(options.drawing) + ": " +
               companion::one_line(run_error->message_line));
        return kRunError;
    }
    if (outcome == ChartOutcome::no_holes) {
        report("no holes in " + companion::shown_path(options.drawing) + ": the table has no rows");
    }
    const std::string table =
        companion::format_hole_table(state.listing, options.format, options.byte_order_mark);
    if (!companion::write_outputs({{options.output, table}}, error)) {
        report(error);
        return kRunError;
    }
    return 0;
}

int chart_table(const TableOptions& options) {
    ChartSettings settings;
    std::string error;
    if (!read_settings(options, settings, error)) {
        report(error);
        return kRunError;
    }
    return write_table(options, settings);
}

}  // namespace

}  // namespace holechart_table

int main(int argc, char** argv) {
    using namespace holechart_table;
    return companion::run_program("holechart-table", table_usage_text(), parse_table_options,
                                  report, chart_table, argc, argv);
}
