// The hole table behind a chart, as a spreadsheet or a program reads it: one
// row per listed hole, in the chart's order and with the chart's numbers and
// coordinate texts, and the hole type of each row.
#pragma once

#include <string>

#include "chart/run_state.hpp"

enum class TableFormat { csv, tsv, json };

// "csv", "tsv" or "json".
bool table_format_named(const std::string& name, TableFormat& format);

// From a file name's extension: .csv, .tsv or .json, in any letter case.
bool table_format_of_file(const std::string& path, TableFormat& format);

// The table of what the chart lists. CSV and TSV have a header row and quote
// a field as RFC 4180 does; JSON is an array of objects with lower-case
// keys. Lines end as the platform writes text; the text is UTF-8.
std::string format_hole_table(const ChartListing& listing, TableFormat format);
