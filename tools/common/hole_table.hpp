// The hole table behind a chart, as a spreadsheet or a program reads it: one
// row per listed hole, in the chart's order and with the chart's numbers and
// coordinate texts, and the hole type of each row.
#pragma once

#include <string>

#include "chart/run_state.hpp"

namespace companion {

enum class TableFormat { csv, tsv, json };

// Whether a CSV or TSV table starts with a UTF-8 byte order mark unless
// --bom or --no-bom says otherwise. On Windows, yes: spreadsheet programs
// there read a CSV without one in the ANSI code page, every "Ø" garbled.
// Elsewhere, no: programs take UTF-8 as it comes, and the mark would be
// stray bytes before the first column's name.
#ifdef _WIN32
constexpr bool kTableByteOrderMarkByDefault = true;
#else
constexpr bool kTableByteOrderMarkByDefault = false;
#endif

// "csv", "tsv" or "json".
bool table_format_named(const std::string& name, TableFormat& format);

// From a file name's extension: .csv, .tsv or .json, in any letter case.
bool table_format_of_file(const std::string& path, TableFormat& format);

// The table of what the chart lists. CSV and TSV have a header row and quote
// a field as RFC 4180 does, and start with a UTF-8 byte order mark when
// byte_order_mark is set; JSON is an array of objects with lower-case keys,
// never with a byte order mark, which JSON does not allow. Lines end as the
// platform writes text; the text is UTF-8.
std::string format_hole_table(const ChartListing& listing, TableFormat format,
                              bool byte_order_mark);

}  // namespace companion
