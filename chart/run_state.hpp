// The state one run of the tool shares between the driver and the chart: the
// chart settings, the window, the origin, the chart unit and the chart list.
// It is a record passed by reference, so one process can draw many charts.
#pragma once

#include <cstdint>

#include "entity/entity_record.hpp"

constexpr std::size_t kLayerNameSize = 256;
constexpr std::size_t kAbsoluteFlagSize = 8;

// The five values of "infoHoleTable.dat", in file order.
struct ChartSettings {
    int32_t layer_mode = 1;
    char layer_name[kLayerNameSize] = "";
    int32_t layer_color = 0;
    char absolute_flag[kAbsoluteFlagSize] = "";
    double chart_text_height = 2.5;
};

// Command-line numbers 1 to 4 after normalisation: x2 >= x1, y2 >= y1.
struct ChartWindow {
    double x1 = 0.0;
    double y1 = 0.0;
    double x2 = 0.0;
    double y2 = 0.0;
};

struct RunState {
    ChartSettings settings;
    ChartWindow window;
    double unit_factor = 1.0;  // 2.5 / chart_text_height
    double origin_x = 0.0;
    double origin_y = 0.0;
    EntityList chart_list;
    int32_t chart_count = 0;
};
