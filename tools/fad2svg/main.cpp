// fad2svg: draws entity exchange files as one SVG picture, so that a hole
// chart can be checked by eye on the drawing it belongs to.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/common/companion_main.hpp"
#include "tools/common/output_file.hpp"
#include "tools/common/run_outputs.hpp"
#include "tools/fad2svg/options.hpp"
#include "tools/fad2svg/render.hpp"
#include "tools/fad2svg/svg_text.hpp"
#include "util/version.hpp"

namespace {

constexpr int kUsageError = 2;
constexpr int kRunError = 1;

// One line on standard error, whatever bytes the message carries.
void report(const char* prefix, const std::string& message) {
    std::fprintf(stderr, "fad2svg: %s%s\n", prefix, clean_utf8(message).c_str());
}

int run(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    Options options;
    std::string error;
    if (!parse_options(args, options, error)) {
        report("", error);
        return kUsageError;
    }
    if (options.help) {
        std::fputs(usage_text(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("fad2svg %s\n", holechart_version());
        return 0;
    }
    if (!options.force && output_is_an_input(options.inputs, options.output, error)) {
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
    if (!write_outputs({{options.output, svg}}, error)) {
        report("", error);
        return kRunError;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return run_companion("fad2svg", run, argc, argv);
}
