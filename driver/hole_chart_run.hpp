// The tool's run: checks the inputs, reads the settings and the drawing,
// draws the hole chart and writes it to "ResultDR.fad". Errors reach the
// user through the message box request.
#pragma once

#include <optional>

#include "chart/run_state.hpp"
#include "driver/run_errors.hpp"
#include "entity/token_stream.hpp"
#include "platform/platform.hpp"

// The entry point; argc counts the program's own name. Returns the exit code
// (0 for a completed run, as for every early end).
int run_hole_chart(int argc, char** argv);

// The whole run in the given folders, without the message box request: the
// checks, reading, the chart and the result file. Returns nothing when the run
// completed or ended without holes, else the error to report. An entity list
// that cannot be allocated still ends the process.
std::optional<RunError> perform_hole_chart_run(const FixedPaths& paths, int argc, char** argv);

// Where the run reads an input from: the file at path or, when path is
// null, bytes that stand for it (fuzzing and tests need no files).
struct RunInput {
    const char* path = nullptr;
    MemoryFile memory;
};

// What the run computed: the state holds the chart list, which charted says
// is to be written, and holes the drawing's holes. One can be computed into
// again and again; it keeps the storage of its lists.
struct ComputedChart {
    RunState state;
    EntityList holes;
    bool charted = false;
};

// The run without files of its own, which perform_hole_chart_run writes out:
// every check and message of the run, the settings and the drawing read from
// the inputs, and the chart pass. Returns nothing when the chart was computed
// or the drawing has no holes, else the error to report.
std::optional<RunError> compute_hole_chart(const RunInput& settings, const RunInput& drawing,
                                           int argc, char** argv, ComputedChart& chart);

// Writes the two lines to "message.dat", runs the message box program, waits
// for it and deletes the file. When the file cannot be written or the
// program cannot be started, the two lines go to standard error instead, so
// that the user still learns of the error. Returns whether the message box
// program showed the message.
bool deliver_message(const FixedPaths& paths, const char* code_line, const char* message_line);

// deliver_message, then the end of the process with exit code 0.
[[noreturn]] void report_error(const FixedPaths& paths, const char* code_line,
                               const char* message_line);
