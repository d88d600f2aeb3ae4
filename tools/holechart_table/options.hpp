// The command line of holechart-table.
#pragma once

#include <string>
#include <vector>

#include "tools/common/command_line.hpp"
#include "tools/common/hole_table.hpp"

namespace holechart_table {

struct TableOptions {
    std::string drawing;   // the exchange file, e.g. Object.fad
    std::string settings;  // empty: the settings' defaults
    bool origin_given = false;
    double origin[2] = {0.0, 0.0};
    companion::TableFormat format = companion::TableFormat::csv;
    bool byte_order_mark = companion::kTableByteOrderMarkByDefault;  // CSV and TSV only
    std::string output = "-";                                        // "-": standard output
    bool force = false;  // write the output even over an input
    companion::Asked asked;
};

// One drawing and its origin, from the arguments after the program's name
// (companion::read_command_line tells how they are read); the output may be
// no input unless --force is given.
bool parse_table_options(const std::vector<std::string>& args, TableOptions& options,
                         std::string& error);

const char* table_usage_text();

}  // namespace holechart_table
