#include "tools/fad2svg/options.hpp"

#include <cstddef>
#include <utility>

#include "tools/common/command_line.hpp"
#include "tools/common/whole_number.hpp"

namespace fad2svg {

namespace {

constexpr int kMaxWidth = 100000;
constexpr std::size_t kMaxWidthDigits = 6;

bool take_width(const std::string& text, int& width, std::string& error) {
    int value = 0;
    if (!companion::parse_digits(text, kMaxWidthDigits, value) || value < 1 || value > kMaxWidth) {
        error = "--width takes a whole number of pixels from 1 to " + std::to_string(kMaxWidth) +
                ", not '" + text + "'";
        return false;
    }
    width = value;
    return true;
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

bool take_output(const std::string& text, bool& output_given, std::string& output,
                 std::string& error) {
    if (output_given) {
        error = "only one output file may be given";
        return false;
    }
    if (text.empty()) {
        error = "the output file name is empty";
        return false;
    }
    output = text;
    output_given = true;
    return true;
}

}  // namespace

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

bool parse_svg_options(const std::vector<std::string>& args, SvgOptions& options,
                       std::string& error) {
    options = SvgOptions{};
    bool output_given = false;
    using companion::value_option;
    const std::vector<companion::CommandOption> known = {
        companion::switch_option("--force", options.force),
        value_option({"-o", "--output"},
                     [&](const std::string& v, std::string& e) {
                         return take_output(v, output_given, options.output, e);
                     }),
        value_option({"--background"},
                     [&](const std::string& v, std::string& e) {
                         return take_background(v, options.background, e);
                     }),
        value_option({"--width"}, [&](const std::string& v,
                                      std::string& e) { return take_width(v, options.width, e); }),
        value_option({"--layer"},
                     [&](const std::string& v, std::string&) {
                         options.layers.push_back(v);
                         return true;
                     }),
    };
    const auto take_files = [&](std::vector<std::string>& files, std::string& e) {
        options.inputs = std::move(files);
        if (options.inputs.empty()) {
            e = "no input file given (see --help)";
            return false;
        }
        if (!output_given) {
            e = "no output file given: use -o OUT.svg";
            return false;
        }
        return true;
    };
    return companion::read_command_line(args, known, {true, "option "}, options.asked, take_files,
                                        error);
}

}  // namespace fad2svg
