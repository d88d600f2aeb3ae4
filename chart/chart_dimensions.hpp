// The chart's nominal lengths. Each is drawn as the length divided by the
// run's unit_factor, in one division, so the chart has this size at the
// nominal text height and scales with the text height.
#pragma once

// The text height at which the chart has its nominal size, and the chart's
// text height when the settings give none.
constexpr double kNominalTextHeight = 2.5;

// The run's unit_factor for a chart text height.
inline double chart_unit_factor(double text_height) {
    return kNominalTextHeight / text_height;
}

// A table column, from its left outer line to its right one.
constexpr double kColumnWidth = 70.0;
// Between a closed column and the next one, which starts to its left.
constexpr double kColumnGap = 3.0;
// From a column's right edge to the separator between its X and Y cells.
constexpr double kYSeparatorFromRight = 30.0;
// From a column's right edge to the separator between its number and X cells.
constexpr double kXSeparatorFromRight = 60.0;

// The header row of a column, and each hole row.
constexpr double kHeaderHeight = 8.0;
constexpr double kRowHeight = 8.0;
// From the top of a header or hole row down to the baseline of its texts.
constexpr double kTextBaselineDrop = 5.6;
// "NO" right of the column's left edge; "X" and "Y" right of their cell's.
constexpr double kNoTextInset = 2.3;
constexpr double kAxisTextInset = 13.8;

// A type block is this high per circle of its type, plus the base height;
// a block that opens a column has the lower base.
constexpr double kBlockHeightPerCircle = 4.0;
constexpr double kBlockBaseHeight = 10.0;
constexpr double kOpeningBlockBaseHeight = 8.0;
// From a block's top down to its count text, and from one label line to the
// next.
constexpr double kLabelLineDrop = 5.0;

// Right of the column's left edge: the count text of a type block, the hole
// number of a row, and the labels of a type block.
constexpr double kCountTextInset = 1.0;
constexpr double kNumberInset = 2.0;
constexpr double kLabelInset = 10.0;
// The X and Y values are centred this far right of their cell's left edge.
constexpr double kValueCentreInset = 15.0;

// The lowest a column may reach: a piece whose top lies below the window's
// bottom plus this margin starts a new column.
constexpr double kBottomMargin = 7.9;
