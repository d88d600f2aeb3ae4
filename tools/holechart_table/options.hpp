// The command line of holechart-table.
#pragma once

#include <string>
#include <vector>

#include "tools/common/hole_table.hpp"

struct TableOptions {
    std::string drawing;   // the exchange file, e.g. Object.fad
    std::string settings;  // empty: the settings' defaults
    bool origin_given = false;
    double origin[2] = {0.0, 0.0};
    TableFormat format = TableFormat::csv;
    bool byte_order_mark = kTableByteOrderMarkByDefault;  // CSV and TSV only
    std::string output = "-";                             // "-": standard output
    bool force = false;                                   // write the output even over an input
    bool help = false;
    bool version = false;
};

// Reads the arguments after the program name. Returns false with a one-line
// reason in error when they are not usable. With --help or --version the
// rest is not checked.
bool parse_table_options(const std::vector<std::string>& args, TableOptions& options,
                         std::string& error);

const char* table_usage_text();
