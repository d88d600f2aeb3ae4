// The state one run of the tool shares between the driver and the chart: the
// chart settings, the window, the origin, the chart unit and the chart list.
// It is a record passed by reference, so one process can draw many charts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "chart/chart_dimensions.hpp"
#include "chart/hole_type_table.hpp"

#include "entity/entity_record.hpp"

constexpr std::size_t kLayerNameSize = 256;
constexpr std::size_t kAbsoluteFlagSize = 8;

// The five values of "infoHoleTable.dat", in file order.
struct ChartSettings {
    int32_t layer_mode = 1;
    char layer_name[kLayerNameSize] = "";
    int32_t layer_color = 0;
    char absolute_flag[kAbsoluteFlagSize] = "";
    double chart_text_height = kNominalTextHeight;
};

// Command-line numbers 1 to 4 after normalisation: x2 >= x1, y2 >= y1.
struct ChartWindow {
    double x1 = 0.0;
    double y1 = 0.0;
    double x2 = 0.0;
    double y2 = 0.0;
};

// One row of the chart's table as the chart lists it.
struct ListedHole {
    int32_t number = 0;  // the hole number the chart prints
    int32_t type = 0;    // the type block it stands under, from 1 in chart order
    Point center;        // the hole position's centre in the drawing
    std::string x_text;  // the coordinates exactly as the chart prints them
    std::string y_text;
    int32_t mark = -1;  // where in the chart list the number at the hole is
};

// One type block of the chart.
struct ListedType {
    HoleTypeRow row;                  // the row of the position that leads the block
    int32_t rows = 0;                 // the rows listed under it: its count text
    std::vector<std::string> labels;  // its labels, as the chart writes them
};

// A row of an earlier chart of the same drawing: its number, and the centre
// of its position.
struct EarlierRow {
    Point center;
    int32_t number = 0;
};

// How the rows were numbered when they kept the numbers of an earlier chart.
struct RowNumbering {
    int32_t kept = 0;              // rows that kept an earlier number
    int32_t fresh = 0;             // rows numbered on after the earlier ones
    std::vector<int32_t> retired;  // earlier numbers no row kept, ascending
};

// What the chart lists, in chart order: the table behind the drawn chart,
// for those who take the chart on into a spreadsheet or a program.
struct ChartListing {
    std::vector<ListedHole> holes;
    std::vector<ListedType> types;
    RowNumbering numbering;
};

struct RunState {
    ChartSettings settings;
    ChartWindow window;
    double unit_factor = 1.0;  // chart_unit_factor(chart_text_height)
    double origin_x = 0.0;
    double origin_y = 0.0;
    EntityList chart_list;
    int32_t chart_count = 0;
    ChartListing listing;
    // The rows of an earlier chart whose numbers this one keeps (the DXF
    // bridge's --keep-numbers). Empty: rows are numbered 1, 2, ... in chart
    // order, as always.
    std::vector<EarlierRow> earlier_rows;
};
