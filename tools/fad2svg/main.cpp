// fad2svg: draws entity exchange files as one SVG picture, so that a hole
// chart can be checked by eye on the drawing it belongs to.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/common/command_line.hpp"
#include "tools/common/companion_main.hpp"
#include "tools/common/run_outputs.hpp"
#include "tools/fad2svg/options.hpp"
#include "tools/fad2svg/render.hpp"
#include "tools/fad2svg/svg_text.hpp"

namespace fad2svg {

namespace {

using companion::kRunError;

// One line on standard error, whatever bytes the message carries.
void report(const char* prefix, const std::string& message) {
    std::fprintf(stderr, "fad2svg: %s%s\n", prefix, clean_utf8(message).c_str());
}

void report_error(const std::string& message) {
    report("", message);
}

int draw(const SvgOptions& options) {
    std::string svg;
    std::vector<std::string> warnings;
    std::string error;
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
    using namespace fad2svg;
    return companion::run_program("fad2svg", svg_usage_text(), parse_svg_options, report_error,
                                  draw, argc, argv);
}
