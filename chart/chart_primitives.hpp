// The six ways the chart is drawn. Each appends records to the run's chart
// list with the chart's fixed attributes: layer "HoleChart", colour 3, both
// styles "ByL", tag "NO".
#pragma once

#include <cstdint>
#include <string>

#include "chart/run_state.hpp"

// Copies the record into the chart list's next slot and grows the list by
// one defaulted slot.
void append_chart_entity(RunState& state, const EntityRecord& record);

void chart_add_line(RunState& state, double x1, double y1, double x2, double y2);
// The hole number in the table ("BL") and at the hole's centre ("MC").
void chart_add_number(RunState& state, double x, double y, int32_t n);
void chart_add_hole_mark(RunState& state, double x, double y, int32_t n);
void chart_add_text(RunState& state, double x, double y, const char* text);
// A coordinate value, "BC", without its sign when the absolute switch is "Y",
// with the nearest of 0 to 4 decimals. Returns the text written.
std::string chart_add_value(RunState& state, double x, double y, double value, int decimals);
// Three lines and the texts "NO", "X", "Y" under the top right corner.
void chart_add_header(RunState& state, double x_right, double y_top);

// Longest number text a chart value or label part may take; beyond it the
// value is printed in exponent notation, so that a label always fits the
// 260 characters of a text field.
constexpr std::size_t kMaxValueChars = 120;

// The value with 0 to 4 decimals as "%.0f" to "%.4f" print it. Decimals
// outside 0 to 4 are taken as the nearest of them.
std::string format_chart_number(double value, int decimals);
