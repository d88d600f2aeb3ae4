#pragma once

#include "chart/run_state.hpp"
#include "entity/token_stream.hpp"

struct SettingsResult {
    ChartSettings settings;
    // Null when the file held five usable values; otherwise the message line
    // that tells the user what is wrong.
    const char* problem = nullptr;
};

// Reads "%d %s %d %s %lf" from the file: layer mode, layer name, layer colour,
// absolute switch, text height. The settings are unusable when a number is
// not one, when the layer name that the chart is to be moved to is empty,
// longer than a record's layer field or holds a control character, or when
// the text height lies outside 0.000001 to 1000000. The absolute switch is cut
// to its field.
SettingsResult read_chart_settings(const char* path);

// The same for bytes that stand for the file.
SettingsResult read_chart_settings(const MemoryFile& memory);

// The text heights a chart may have. Texts smaller than this cannot be read,
// and at larger ones the chart's lengths lose every relation to a drawing;
// both are typing errors.
constexpr double kLowestTextHeight = 1e-6;
constexpr double kHighestTextHeight = 1e6;
