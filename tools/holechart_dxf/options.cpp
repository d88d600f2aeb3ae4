#include "tools/holechart_dxf/options.hpp"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "driver/chart_settings.hpp"
#include "util/number_text.hpp"

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

bool parse_height(const std::string& text, double& height, std::string& error) {
    double value = 0.0;
    // The bounds of the tool's own settings: smaller texts collapse the
    // chart, larger ones lose every relation to a drawing.
    if (!parse_real_token(text, value) || !(value >= kLowestTextHeight) ||
        !(value <= kHighestTextHeight)) {
        error = "--text-height takes a number from 0.000001 to 1000000, not '" + text + "'";
        return false;
    }
    height = value;
    return true;
}

bool parse_memory(const std::string& text, int& mebibytes, std::string& error) {
    int32_t value = 0;
    if (!parse_int_token(text, value) || value < kLeastMemoryMiB) {
        error = "--max-memory takes a number of MiB from " + std::to_string(kLeastMemoryMiB) +
                ", not '" + text + "'";
        return false;
    }
    mebibytes = value;
    return true;
}

bool parse_color(const std::string& text, int& color, std::string& error) {
    int32_t value = 0;
    if (!parse_int_token(text, value) || value < 1 || value > 255) {
        error = "--color takes a colour number from 1 to 255, not '" + text + "'";
        return false;
    }
    color = value;
    return true;
}

// Takes count numbers after option i. Returns false with the reason when
// they are missing or not numbers.
bool take_numbers(const std::vector<std::string>& args, std::size_t& i, const std::string& name,
                  double* numbers, int count, std::string& error) {
    const std::string wanted = count == 2 ? "two numbers" : "four numbers";
    for (int k = 0; k < count; ++k) {
        if (i + 1 >= args.size()) {
            error = name + " takes " + wanted;
            return false;
        }
        const std::string& text = args[++i];
        if (!parse_real_token(text, numbers[k]) || !std::isfinite(numbers[k])) {
            error = name + " takes " + wanted + ", not '" + text + "'";
            return false;
        }
    }
    return true;
}

}  // namespace

const char* usage_text() {
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

bool parse_options(const std::vector<std::string>& args, DxfOptions& options, std::string& error) {
    options = DxfOptions{};
    std::vector<std::string> files;
    bool only_files = false;
    bool color_given = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (only_files || arg.empty() || arg[0] != '-' || arg == "-") {
            files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            only_files = true;
            continue;
        }
        if (arg == "-h" || arg == "--help") {
            options.help = true;
            return true;
        }
        if (arg == "--version") {
            options.version = true;
            return true;
        }
        if (arg == "--window") {
            if (!take_numbers(args, i, arg, options.window, 4, error)) {
                return false;
            }
            options.window_given = true;
            continue;
        }
        if (arg == "--origin") {
            if (!take_numbers(args, i, arg, options.origin, 2, error)) {
                return false;
            }
            continue;
        }
        if (arg == "--absolute") {
            options.absolute = true;
            continue;
        }
        if (arg == "--force") {
            options.force = true;
            continue;
        }
        if (arg == "--all-arcs") {
            options.all_arcs = true;
            continue;
        }
        if (arg == "--bom" || arg == "--no-bom") {
            options.table_byte_order_mark = arg == "--bom";
            continue;
        }
        if (arg == "--keep-numbers") {
            options.keep_numbers = true;
            continue;
        }
        if (arg == "--holes-in") {
            if (!take_numbers(args, i, arg, options.holes_in, 4, error)) {
                return false;
            }
            options.holes_in_given = true;
            continue;
        }

        // Options with one value, as "--name value" or "--name=value".
        std::string name = arg;
        std::string value;
        const std::size_t equals = arg.find('=');
        if (equals != std::string::npos) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
        }
        if (name != "--text-height" && name != "--layer" && name != "--color" &&
            name != "--table" && name != "--max-memory" && name != "--hole-layer") {
            error = "unknown option '" + arg + "' (see --help)";
            return false;
        }
        if (equals == std::string::npos) {
            if (i + 1 >= args.size()) {
                error = name + " needs a value";
                return false;
            }
            value = args[++i];
        }
        if (name == "--text-height") {
            if (!parse_height(value, options.text_height, error)) {
                return false;
            }
            options.text_height_given = true;
        } else if (name == "--max-memory") {
            if (!parse_memory(value, options.max_memory_mib, error)) {
                return false;
            }
        } else if (name == "--table") {
            if (value != "-" && !table_format_of_file(value, options.table_format)) {
                error = "--table names a .csv, .tsv or .json file, not '" + value + "'";
                return false;
            }
            options.table = value;
        } else if (name == "--hole-layer") {
            if (value.empty()) {
                error = "--hole-layer needs a name";
                return false;
            }
            options.hole_layers.push_back(value);
        } else if (name == "--layer") {
            if (!usable_layer_name(value, error)) {
                return false;
            }
            options.layer = value;
            options.layer_given = true;
        } else {
            if (!parse_color(value, options.color, error)) {
                return false;
            }
            color_given = true;
        }
    }
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
    return true;
}
