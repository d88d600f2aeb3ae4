#pragma once

#include "chart/run_state.hpp"

struct SettingsResult {
    ChartSettings settings;
    // Null when the file held five usable values; otherwise the message line
    // that tells the user what is wrong.
    const char* problem = nullptr;
};

// Reads "%d %s %d %s %lf" from the file: layer mode, layer name, layer colour,
// absolute switch, text height. Texts longer than their field are cut.
SettingsResult read_chart_settings(const char* path);
