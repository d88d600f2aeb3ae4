#include "tools/holechart_table/options.hpp"

#include <cmath>

#include "util/number_text.hpp"

namespace {

// Whether arg is the option name, as "--name" or "--name=value".
bool is_option(const std::string& arg, const std::string& name) {
    return arg == name || arg.rfind(name + "=", 0) == 0;
}

// The value of an option given as "--name value" or "--name=value".
bool option_value(const std::vector<std::string>& args, std::size_t& i, const std::string& name,
                  std::string& value, std::string& error) {
    const std::string& arg = args[i];
    if (arg.size() > name.size() && arg.compare(0, name.size() + 1, name + "=") == 0) {
        value = arg.substr(name.size() + 1);
        return true;
    }
    if (i + 1 >= args.size()) {
        error = name + " needs a value";
        return false;
    }
    value = args[++i];
    return true;
}

bool take_origin(const std::vector<std::string>& args, std::size_t& i, double origin[2],
                 std::string& error) {
    for (int k = 0; k < 2; ++k) {
        if (i + 1 >= args.size()) {
            error = "--origin takes two numbers";
            return false;
        }
        const std::string& text = args[++i];
        if (!parse_real_token(text, origin[k]) || !std::isfinite(origin[k])) {
            error = "--origin takes two finite numbers, not '" + text + "'";
            return false;
        }
    }
    return true;
}

}  // namespace

const char* table_usage_text() {
    return "Usage: holechart-table OBJECT.fad --origin X Y [options]\n"
           "Writes the hole table of a drawing: one row per hole of its hole chart, in\n"
           "the chart's order, with the chart's numbers and coordinates, e.g.\n"
           "  holechart-table Object.fad --settings infoHoleTable.dat --origin 40 90 -o holes.csv\n"
           "\n"
           "Options:\n"
           "  --origin X Y           the point the coordinates are measured from (required)\n"
           "  --settings FILE        the chart settings (infoHoleTable.dat): decimals follow\n"
           "                         the holes' tags, ABSOLUTE Y drops the signs (default:\n"
           "                         coordinates with their sign)\n"
           "  --format csv|tsv|json  the table's form (default csv)\n"
           "  --bom, --no-bom        start a CSV or TSV table with a UTF-8 byte order mark,\n"
           "                         or not (default: on Windows with one, which Excel\n"
           "                         needs to read it as UTF-8, elsewhere without);\n"
           "                         JSON never has one\n"
           "  -o, --output FILE      where to write it (default, or -: standard output)\n"
           "  --force                write the table even over one of the inputs\n"
           "  -h, --help             show this text\n"
           "  --version              show the version\n"
           "\n"
           "Columns: No, X, Y, Type, Count, Description, Diameter, Depth, Thread, Side.\n";
}

bool parse_table_options(const std::vector<std::string>& args, TableOptions& options,
                         std::string& error) {
    options = TableOptions{};
    std::vector<std::string> files;
    bool only_files = false;
    bool output_given = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (only_files || arg.empty() || arg[0] != '-' || arg == "-") {
            files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            only_files = true;
        } else if (arg == "-h" || arg == "--help") {
            options.help = true;
            return true;
        } else if (arg == "--version") {
            options.version = true;
            return true;
        } else if (arg == "--force") {
            options.force = true;
        } else if (arg == "--bom" || arg == "--no-bom") {
            options.byte_order_mark = arg == "--bom";
        } else if (arg == "--origin") {
            if (!take_origin(args, i, options.origin, error)) {
                return false;
            }
            options.origin_given = true;
        } else if (is_option(arg, "--settings")) {
            if (!option_value(args, i, "--settings", options.settings, error)) {
                return false;
            }
            if (options.settings.empty()) {
                error = "--settings needs a file name";
                return false;
            }
        } else if (is_option(arg, "--format")) {
            std::string name;
            if (!option_value(args, i, "--format", name, error)) {
                return false;
            }
            if (!table_format_named(name, options.format)) {
                error = "--format takes csv, tsv or json, not '" + name + "'";
                return false;
            }
        } else if (arg == "-o" || is_option(arg, "--output")) {
            if (output_given) {
                error = "only one output file may be given";
                return false;
            }
            if (!option_value(args, i, arg == "-o" ? "-o" : "--output", options.output, error)) {
                return false;
            }
            if (options.output.empty()) {
                error = "the output file name is empty";
                return false;
            }
            output_given = true;
        } else {
            error = "unknown option '" + arg + "' (see --help)";
            return false;
        }
    }
    if (files.size() != 1) {
        error = files.empty()
                    ? "no drawing given: holechart-table OBJECT.fad --origin X Y"
                    : "more than one drawing given: holechart-table OBJECT.fad --origin X Y";
        return false;
    }
    if (!options.origin_given) {
        error = "no origin given: --origin X Y";
        return false;
    }
    options.drawing = files[0];
    return true;
}
