#include "tools/holechart_dxf/options.hpp"

#include <cstdint>
#include <cstring>
#include <limits>

#include "driver/chart_settings.hpp"
#include "tools/common/command_line.hpp"
#include "tools/common/output_file.hpp"
#include "util/number_text.hpp"

namespace holechart_dxf {

const char* dxf_usage_text() {
    return "Usage: holechart-dxf IN.dxf OUT.dxf [options]\n"
           "Adds a hole chart to a DXF drawing: OUT.dxf holds the whole drawing of\n"
           "IN.dxf and the chart (an OUT.dxf of - writes it to standard output), e.g.\n"
           "  holechart-dxf plate.dxf plate-chart.dxf --window 255 62 405 280 --origin 40 90\n"
           "\n"
           "Options:\n"
           "  --window X1 Y1 X2 Y2   the chart hangs from (X2, Y2) and wraps into a new\n"
           "                         column on the left below Y1 (default: beside the\n"
           "                         drawing, on its right)\n"
           "  --origin X Y           the point the chart's coordinates are measured from\n"
           "                         (default 0 0)\n"
           "  --text-height H        text height of the chart; the chart scales with it\n"
           "                         (default: 2.5 mm, or 0.1 inch, in the drawing's\n"
           "                         units, kept within 0.2 % to 2 % of its size)\n"
           "  --layer NAME           put the chart on this layer (default HoleChart)\n"
           "  --color N              colour number of the chart on that layer, 1 to 255\n"
           "                         (default 3)\n"
           "  --absolute             show coordinates without their sign\n"
           "  --holes-in X1 Y1 X2 Y2 chart only the holes whose centre lies in this box\n"
           "                         (one view of a drawing of several)\n"
           "  --hole-layer NAME      chart only the circles and arcs on this layer; give\n"
           "                         it again for more layers (names ignore case)\n"
           "  --keep-numbers         keep the numbers of the chart this program wrote into\n"
           "                         IN.dxf before: a hole at the same place keeps its\n"
           "                         number, new holes are numbered on, the numbers of\n"
           "                         holes that are gone are not given again\n"
           "  --all-arcs             chart every arc of more than a half turn, also one\n"
           "                         whose two ends join an outline\n"
           "  --table FILE           write the hole table too, as CSV, TSV or JSON by the\n"
           "                         extension of FILE (.csv, .tsv, .json; - is CSV on\n"
           "                         standard output)\n"
           "  --bom, --no-bom        start a CSV or TSV table with a UTF-8 byte order mark,\n"
           "                         or not (default: on Windows with one, which Excel\n"
           "                         needs to read it as UTF-8, elsewhere without);\n"
           "                         JSON never has one\n"
           "  --max-memory MIB       memory for what block references place and for the\n"
           "                         chart (default 512, which holds some 40,000 holes)\n"
           "  --force                write OUT.dxf or the table even over IN.dxf\n"
           "  -h, --help             show this text\n"
           "  --version              show the version\n"
           "\n"
           "A hole's tag (decimals and depth, e.g. 2_12.5) is read from its extended\n"
           "data under the application name HOLECHART. A chart this program wrote\n"
           "before is replaced.\n"
           "\n"
           "Exit status: 0 written, 1 the drawing cannot be read or charted, or the\n"
           "output cannot be written, 2 an unusable command line.\n";
}

namespace {

// Characters that a DXF layer name may not hold.
constexpr const char* kBadLayerCharacters = "<>/\\\":;?*|='";

bool usable_layer_name(const std::string& name, std::string& error) {
    if (name.empty()) {
        error = "--layer needs a name";
        return false;
    }
    if (name.size() > kMaxChartLayerChars) {
        error = "--layer names at most " + std::to_string(kMaxChartLayerChars) +
                " characters, not " + std::to_string(name.size());
        return false;
    }
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || std::strchr(kBadLayerCharacters, c) != nullptr) {
            error = "--layer name holds a character that DXF does not allow in layer names: " +
                    std::string(kBadLayerCharacters) + " or a control character";
            return false;
        }
    }
    return true;
}

// "--window takes four numbers", whether they end early or one is no number.
companion::CommandOption numbers_option(const std::string& name, double* numbers, int count,
                                        bool* given) {
    const std::string wanted = name + (count == 2 ? " takes two numbers" : " takes four numbers");
    return companion::numbers_option(name, numbers, count, given, wanted, wanted);
}

bool take_table(const std::string& name, DxfOptions& options, std::string& error) {
    if (name != "-" && !companion::table_format_of_file(name, options.table_format)) {
        error = "--table names a .csv, .tsv or .json file, not '" + name + "'";
        return false;
    }
    options.table = name;
    return true;
}

bool take_hole_layer(const std::string& name, DxfOptions& options, std::string& error) {
    if (name.empty()) {
        error = "--hole-layer needs a name";
        return false;
    }
    options.hole_layers.push_back(name);
    return true;
}

std::string memory_wanted() {
    return "--max-memory takes a number of MiB from " + std::to_string(kLeastMemoryMiB);
}

// The options of the command line, each writing into o.
std::vector<companion::CommandOption> known_options(DxfOptions& o, bool& color_given) {
    using companion::switch_option;
    using companion::value_option;
    using Text = const std::string&;
    return {
        switch_option("--absolute", o.absolute),
        switch_option("--force", o.force),
        switch_option("--all-arcs", o.all_arcs),
        switch_option("--bom", o.table_byte_order_mark, true),
        switch_option("--no-bom", o.table_byte_order_mark, false),
        switch_option("--keep-numbers", o.keep_numbers),
        numbers_option("--window", o.window, 4, &o.window_given),
        numbers_option("--origin", o.origin, 2, nullptr),
        numbers_option("--holes-in", o.holes_in, 4, &o.holes_in_given),
        value_option({"--text-height"},
                     [&o](Text v, std::string& e) {
                         o.text_height_given = true;
                         // The bounds of the tool's own settings: smaller texts
                         // collapse the chart, larger ones lose every relation
                         // to a drawing.
                         return companion::take_number(
                             v, parse_real_token, kLowestTextHeight, kHighestTextHeight,
                             o.text_height, "--text-height takes a number from 0.000001 to 1000000",
                             e);
                     }),
        value_option({"--max-memory"},
                     [&o](Text v, std::string& e) {
                         return companion::take_number(v, parse_int_token, kLeastMemoryMiB,
                                                       std::numeric_limits<int>::max(),
                                                       o.max_memory_mib, memory_wanted(), e);
                     }),
        value_option({"--table"}, [&o](Text v, std::string& e) { return take_table(v, o, e); }),
        value_option({"--hole-layer"},
                     [&o](Text v, std::string& e) { return take_hole_layer(v, o, e); }),
        value_option({"--layer"},
                     [&o](Text v, std::string& e) {
                         o.layer = v;
                         o.layer_given = true;
                         return usable_layer_name(v, e);
                     }),
        value_option({"--color"},
                     [&o, &color_given](Text v, std::string& e) {
                         color_given = true;
                         return companion::take_number(
                             v, parse_int_token, 1, 255, o.color,
                             "--color takes a colour number from 1 to 255", e);
                     }),
    };
}

// IN.dxf and OUT.dxf, and the checks of options that go together.
bool take_dxf_files(const std::vector<std::string>& files, bool color_given, DxfOptions& options,
                    std::string& error) {
    if (color_given && !options.layer_given) {
        error = "--color goes with --layer: the layer HoleChart keeps colour 3";
        return false;
    }
    if (files.size() != 2) {
        error = files.empty()       ? "no input and output file given (see --help)"
                : files.size() == 1 ? "no output file given: holechart-dxf IN.dxf OUT.dxf"
                                    : "more than two files given: holechart-dxf IN.dxf OUT.dxf";
        return false;
    }
    options.input = files[0];
    options.output = files[1];
    if (options.table == "-" && options.output == "-") {
        error = "the drawing and the table cannot both go to standard output";
        return false;
    }
    if (!options.force && (companion::output_is_an_input({options.input}, options.output, error) ||
                           companion::output_is_an_input({options.input}, options.table, error))) {
        return false;
    }
    if (!options.table.empty() && companion::same_output_file(options.output, options.table)) {
        error =
            "the table and the drawing cannot be one file: " + companion::shown_path(options.table);
        return false;
    }
    return true;
}

}  // namespace

bool parse_dxf_options(const std::vector<std::string>& args, DxfOptions& options,
                       std::string& error) {
    options = DxfOptions{};
    bool color_given = false;
    const auto take_files = [&](std::vector<std::string>& files, std::string& e) {
        return take_dxf_files(files, color_given, options, e);
    };
    return companion::read_command_line(args, known_options(options, color_given), {},
                                        options.asked, take_files, error);
}

}  // namespace holechart_dxf
