// fad2svg: draws entity exchange files as one SVG picture, so that a hole
// chart can be checked by eye on the drawing it belongs to.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/common/command_line.hpp"
#include "tools/common/companion_main.hpp"
#include "tools/common/output_file.hpp"
#include "tools/common/run_outputs.hpp"
#include "tools/fad2svg/options.hpp"
#include "tools/fad2svg/render.hpp"
#include "tools/fad2svg/svg_text.hpp"

namespace fad2svg {

namespace {

using companion::kRunError;
using companion::kUsageError;

// One line on standard error, whatever bytes the message carries.
void report(const char* prefix, const std::string& message) {
    std::fprintf(stderr, "fad2svg: %s%s\n", prefix, clean_utf8(message).c_str());
}

void report_error(const std::string& message) {
    report("", message);
}

int run(int argc, char** argv) {
    SvgOptions options;
    if (const int code = companion::read_options("fad2svg", svg_usage_text(), argc, argv,
                                                 parse_svg_options, report_error, options);
        code != companion::kGoOn) {
        return code;
    }
    std::string error;
    if (!options.force && companion::output_is_an_input(options.inputs, options.output, error)) {
        report("", error);
        return kUsageError;
    }

    std::string svg;
    std::vector<std::string> warnings;
    if (!render_files(options, svg, warnings, error)) {
        report("", error);
        return kRunError;
    }
    for (const std::string& warning : warnings) {
        report("warning: ", warning);
    }
    if (!companion::write_outputs({{options.output, svg}}, error)) {
        report("", error);
        return kRunError;
    }
    return 0;
}

}  // namespace

}  // namespace fad2svg

int main(int argc, char** argv) {
    return companion::run_companion("fad2svg", fad2svg::run, argc, argv);
}
