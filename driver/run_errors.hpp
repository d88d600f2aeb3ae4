// What the user is told when a run cannot complete: the two lines of the
// message box request.
#pragma once

#include <optional>

#include "chart/chart_pass.hpp"

struct RunError {
    const char* code_line;
    const char* message_line;
};

inline constexpr RunError kSettingsMissing{"[Error Code : 1109]\n", "File not found...\n"};
inline constexpr RunError kEntitiesMissing{"[Error Code : 1119]\n", "File not found...\n"};
inline constexpr RunError kTooFewArguments{"[Error Code : 2109]\n", "Too few arguments...\n"};
inline constexpr RunError kInvalidArguments{"[Error Code : 2119]\n", "Invalid arguments...\n"};
inline constexpr RunError kCannotWriteResult{"[Error Code : 1129]\n",
                                             "Cannot write the result file...\n"};
inline constexpr RunError kInvalidHoleValues{"[Error Code : 1139]\n",
                                             "Invalid hole values in drawing...\n"};
inline constexpr RunError kChartOutOfRange{"[Error Code : 3109]\n",
                                           "Chart values out of range...\n"};

// The report for a chart pass that could not draw its chart; nothing for a
// chart drawn or a drawing without holes.
inline std::optional<RunError> run_error_of(ChartOutcome outcome) {
    switch (outcome) {
        case ChartOutcome::invalid_hole_values:
            return kInvalidHoleValues;
        case ChartOutcome::out_of_range:
            return kChartOutOfRange;
        case ChartOutcome::charted:
        case ChartOutcome::no_holes:
            break;
    }
    return std::nullopt;
}
