#include "tools/fad2svg/options.hpp"

#include <cstddef>
#include <string_view>
#include <utility>

#include "tools/common/command_line.hpp"
#include "tools/common/output_file.hpp"
#include "tools/common/whole_number.hpp"

namespace fad2svg {

const char* svg_usage_text() {
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

namespace {

constexpr int kMaxWidth = 100000;
constexpr std::size_t kMaxWidthDigits = 6;

bool width_digits(std::string_view text, int& width) {
    return companion::parse_digits(text, kMaxWidthDigits, width);
}

bool take_background(const std::string& text, Background& background, std::string& error) {
    if (text == "light") {
        background = Background::light;
    } else if (text == "dark") {
        background = Background::dark;
    } else {
        error = "--background takes light or dark, not '" + text + "'";
        return false;
    }
    return true;
}

// The output, given once and not empty: an output that is set was given.
bool take_output(const std::string& text, std::string& output, std::string& error) {
    if (!output.empty()) {
        error = "only one output file may be given";
        return false;
    }
    if (text.empty()) {
        error = "the output file name is empty";
        return false;
    }
    output = text;
    return true;
}

std::vector<companion::CommandOption> known_options(SvgOptions& o) {
    using companion::value_option;
    using Text = const std::string&;
    return {
        companion::switch_option("--force", o.force),
        value_option({"-o", "--output"},
                     [&o](Text v, std::string& e) { return take_output(v, o.output, e); }),
        value_option({"--background"},
                     [&o](Text v, std::string& e) { return take_background(v, o.background, e); }),
        value_option({"--width"},
                     [&o](Text v, std::string& e) {
                         return companion::take_number(
                             v, width_digits, 1, kMaxWidth, o.width,
                             "--width takes a whole number of pixels from 1 to " +
                                 std::to_string(kMaxWidth),
                             e);
                     }),
        value_option({"--layer"},
                     [&o](Text v, std::string&) {
                         o.layers.push_back(v);
                         return true;
                     }),
    };
}

}  // namespace

bool parse_svg_options(const std::vector<std::string>& args, SvgOptions& options,
                       std::string& error) {
    options = SvgOptions{};
    const auto take_inputs = [&options](std::vector<std::string>& files, std::string& e) {
        options.inputs = std::move(files);
        if (options.inputs.empty()) {
            e = "no input file given (see --help)";
            return false;
        }
        if (options.output.empty()) {
            e = "no output file given: use -o OUT.svg";
            return false;
        }
        return options.force || !companion::output_is_an_input(options.inputs, options.output, e);
    };
    return companion::read_command_line(args, known_options(options), {true, "option "},
                                        options.asked, take_inputs, error);
}

}  // namespace fad2svg
