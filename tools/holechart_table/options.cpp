#include "tools/holechart_table/options.hpp"

#include "tools/common/command_line.hpp"
#include "tools/common/output_file.hpp"

namespace holechart_table {

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

namespace {

using Text = const std::string&;

companion::CommandOption output_option(TableOptions& options, bool& output_given) {
    companion::CommandOption output =
        companion::value_option({"-o", "--output"}, [&](Text name, std::string& error) {
            if (name.empty()) {
                error = "the output file name is empty";
                return false;
            }
            options.output = name;
            output_given = true;
            return true;
        });
    // Refused before its value is looked for.
    output.met = [&output_given](std::string& error) {
        if (output_given) {
            error = "only one output file may be given";
        }
        return !output_given;
    };
    return output;
}

std::vector<companion::CommandOption> known_options(TableOptions& o, bool& output_given) {
    using companion::switch_option;
    using companion::value_option;
    return {
        switch_option("--force", o.force),
        switch_option("--bom", o.byte_order_mark, true),
        switch_option("--no-bom", o.byte_order_mark, false),
        companion::numbers_option("--origin", o.origin, 2, &o.origin_given,
                                  "--origin takes two numbers",
                                  "--origin takes two finite numbers"),
        value_option({"--settings"},
                     [&o](Text name, std::string& error) {
                         o.settings = name;
                         if (name.empty()) {
                             error = "--settings needs a file name";
                         }
                         return !name.empty();
                     }),
        value_option({"--format"},
                     [&o](Text name, std::string& error) {
                         if (!companion::table_format_named(name, o.format)) {
                             error = "--format takes csv, tsv or json, not '" + name + "'";
                             return false;
                         }
                         return true;
                     }),
        output_option(o, output_given),
    };
}

}  // namespace

bool parse_table_options(const std::vector<std::string>& args, TableOptions& options,
                         std::string& error) {
    options = TableOptions{};
    bool output_given = false;
    const auto take_drawing = [&options](std::vector<std::string>& files, std::string& e) {
        if (files.size() != 1) {
            e = files.empty()
                    ? "no drawing given: holechart-table OBJECT.fad --origin X Y"
                    : "more than one drawing given: holechart-table OBJECT.fad --origin X Y";
            return false;
        }
        if (!options.origin_given) {
            e = "no origin given: --origin X Y";
            return false;
        }
        options.drawing = files[0];
        std::vector<std::string> inputs = {options.drawing};
        if (!options.settings.empty()) {
            inputs.push_back(options.settings);
        }
        return options.force || !companion::output_is_an_input(inputs, options.output, e);
    };
    return companion::read_command_line(args, known_options(options, output_given), {},
                                        options.asked, take_drawing, error);
}

}  // namespace holechart_table
