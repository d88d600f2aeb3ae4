// The hole chart: table columns 70 units wide hanging from the window's top
// right corner, one type block per hole type with its count text and labels,
// one numbered row per hole position with its coordinates, and the hole
// number at each hole's centre. A column that reaches the window's bottom is
// closed and the next one starts 3 units to its left.
#pragma once

#include <string>
#include <vector>

#include "chart/hole_type_table.hpp"
#include "chart/run_state.hpp"

// Whether two rows describe one hole type: the same circle count, and per
// circle the same type code and style, radii within 0.001 and sweeps within
// 10 degrees.
bool same_hole_type(const HoleTypeRow& a, const HoleTypeRow& b);

// A label shows a depth from this value up (a plain hole's only above it);
// a smaller one is no depth.
constexpr double kValueFloor = 0.00001;

// Whether an arc of this sweep, around a circle of the same position, is the
// circle's thread: the circle is a tapped hole. A thread is drawn as three
// quarters of a turn or so, so a sweep strictly between these bounds marks it.
constexpr double kTappingSweepLow = 250.0;
constexpr double kTappingSweepHigh = 350.0;
bool is_tapping_arc(double sweep);

// The thread size ("M6") that the label of a tapped hole shows, from its
// thread arc, circle arc of the row.
std::string thread_size_text(const HoleTypeRow& row, int arc);

// The label texts of a type block, one per label line.
std::vector<std::string> compose_hole_labels(const HoleTypeRow& row);

// Appends the chart of the first count positions, in their order, to the
// chart list: each position is listed exactly once, under the type block of
// the first position of its type that is not listed yet. The state's listing
// receives the same rows and type blocks as data.
void draw_hole_chart(RunState& state, const EntityList& positions,
                     const std::vector<HoleTypeRow>& rows, int count);
