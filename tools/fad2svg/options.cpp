#include "tools/fad2svg/options.hpp"

#include <cstddef>

namespace {

constexpr int kMaxWidth = 100000;

bool parse_width(const std::string& text, int& width) {
    if (text.empty() || text.size() > 6) {
        return false;
    }
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > kMaxWidth) {
        return false;
    }
    width = value;
    return true;
}

// Splits "--name=value" into its two halves; a plain "--name" has no value.
bool split_long_option(const std::string& arg, std::string& name, std::string& value) {
    const std::size_t equals = arg.find('=');
    if (equals == std::string::npos) {
        name = arg;
        return false;
    }
    name = arg.substr(0, equals);
    value = arg.substr(equals + 1);
    return true;
}

}  // namespace

const char* usage_text() {
    return "Usage: fad2svg [options] FILE... -o OUT.svg\n"
           "Draws entity exchange files as one SVG picture; later files draw over\n"
           "earlier ones, e.g. fad2svg Object.fad ResultDR.fad -o plate.svg\n"
           "\n"
           "Options:\n"
           "  -o, --output OUT.svg         the picture to write (required); - writes it\n"
           "                               to standard output\n"
           "  --background light|dark      background colour (default light)\n"
           "  --width PIXELS               width of the picture (default 1000)\n"
           "  --layer NAME                 draw only this layer; may be repeated\n"
           "  --force                      write the picture even over one of the inputs\n"
           "  -h, --help                   show this text\n"
           "  --version                    show the version\n";
}

bool parse_options(const std::vector<std::string>& args, Options& options, std::string& error) {
    options = Options{};
    bool output_given = false;
    bool only_files = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (only_files || arg.empty() || arg[0] != '-' || arg == "-") {
            options.inputs.push_back(arg);
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
        if (arg == "--force") {
            options.force = true;
            continue;
        }

        std::string name;
        std::string value;
        bool has_value = false;
        if (arg.compare(0, 2, "--") == 0) {
            has_value = split_long_option(arg, name, value);
        } else if (arg.compare(0, 2, "-o") == 0 && arg.size() > 2) {
            name = "-o";
            value = arg.substr(2);
            has_value = true;
        } else {
            name = arg;
        }

        const bool takes_value = name == "-o" || name == "--output" || name == "--background" ||
                                 name == "--width" || name == "--layer";
        if (!takes_value) {
            error = "unknown option '" + arg + "' (see --help)";
            return false;
        }
        if (!has_value) {
            if (i + 1 >= args.size()) {
                error = "option " + name + " needs a value";
                return false;
            }
            value = args[++i];
        }

        if (name == "-o" || name == "--output") {
            if (output_given) {
                error = "only one output file may be given";
                return false;
            }
            if (value.empty()) {
                error = "the output file name is empty";
                return false;
            }
            options.output = value;
            output_given = true;
        } else if (name == "--background") {
            if (value == "light") {
                options.background = Background::light;
            } else if (value == "dark") {
                options.background = Background::dark;
            } else {
                error = "--background takes light or dark, not '" + value + "'";
                return false;
            }
        } else if (name == "--width") {
            if (!parse_width(value, options.width)) {
                error = "--width takes a whole number of pixels from 1 to " +
                        std::to_string(kMaxWidth) + ", not '" + value + "'";
                return false;
            }
        } else {
            options.layers.push_back(value);
        }
    }
    if (options.inputs.empty()) {
        error = "no input file given (see --help)";
        return false;
    }
    if (!output_given) {
        error = "no output file given: use -o OUT.svg";
        return false;
    }
    return true;
}
