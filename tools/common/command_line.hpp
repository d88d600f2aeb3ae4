// The command lines of the companions, read by one loop. Each companion names
// its options in a table; the loop sorts the arguments into files and
// options, hands each option its values and stops at --help or --version.
// Every refusal is one line, which the companion prints after its name.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tools/common/companion_main.hpp"

namespace companion {

// The exit codes that every companion shares.
constexpr int kRunError = 1;    // an input that cannot be read or an output not written
constexpr int kUsageError = 2;  // an unusable command line

// Takes value k (0 for the first) of an option; false with a one-line reason
// in error. A switch is taken once, with k 0 and an empty value.
using TakeValue = std::function<bool(int k, const std::string& value, std::string& error)>;

struct CommandOption {
    std::vector<std::string> names;  // "-o", "--output"
    // 0: a switch; 1: "NAME VALUE" or "NAME=VALUE" (or "-oVALUE" where the
    // command line joins short options and values); more: that many
    // arguments after the name, never after "=".
    int values = 0;
    TakeValue take;
    // With several values: the reason when the arguments end before them.
    std::string too_few = {};
    // When set, checks what came before as soon as the option is met, before
    // its values are taken ("only one output file may be given").
    std::function<bool(std::string& error)> met = {};
};

// Where the three command lines differ in their words.
struct CommandLineStyle {
    // "-oOUT.svg" as well as "-o OUT.svg".
    bool joined_short_values = false;
    // Put before "NAME needs a value".
    const char* needs_value_prefix = "";
};

// What a command line asks for instead of the program's work; nothing after
// the option that asks is looked at.
struct Asked {
    bool help = false;     // -h or --help
    bool version = false;  // --version
};

// Takes the arguments that are no options, in their order: those that do not
// begin with '-', "-" itself, and every one after "--". False with a one-line
// reason in error when they are not what the program needs.
using TakeFiles = std::function<bool(std::vector<std::string>& files, std::string& error)>;

// Reads the arguments after the program's name: the options, then, unless
// help or the version is asked for, the files. False with a one-line reason
// in error at the first that cannot be used, an unknown option among them:
// "unknown option '-x' (see --help)".
bool read_command_line(const std::vector<std::string>& args,
                       const std::vector<CommandOption>& options, const CommandLineStyle& style,
                       Asked& asked, const TakeFiles& take_files, std::string& error);

// A switch that sets target to value.
CommandOption switch_option(const std::string& name, bool& target, bool value = true);

// An option of one value, given to take.
CommandOption value_option(std::vector<std::string> names,
                           std::function<bool(const std::string& value, std::string& error)> take);

// Reads text with read into target when it gives a number from least to
// most (NaN is none); otherwise false with "<wanted>, not 'TEXT'", the way
// every companion refuses a value.
template <typename Number, typename Read>
bool take_number(const std::string& text, Read read, Number least, Number most, Number& target,
                 const std::string& wanted, std::string& error) {
    Number value{};
    if (!read(text, value) || !(value >= least) || !(value <= most)) {
        error = wanted + ", not '" + text + "'";
        return false;
    }
    target = value;
    return true;
}

// An option of count numbers after its name, each finite: "nan", "inf" or a
// number beyond a double is refused with "<refused>, not 'TEXT'". given, when
// not null, is set once all of them came.
CommandOption numbers_option(const std::string& name, double* numbers, int count, bool* given,
                             const std::string& too_few, const std::string& refused);

// The answer to a command line that was read, before any work: with --help
// the usage text and exit code 0, with --version the program and its
// version and 0; when it could not be read, error reported through report
// and kUsageError. kGoOn when the program goes on to its work.
constexpr int kGoOn = -1;
int command_line_exit(const char* program, const char* usage, bool read, const Asked& asked,
                      const std::string& error, void (*report)(const std::string&));

// A companion's whole run (run_companion): its command line read with parse
// and answered as command_line_exit answers it, then its work done. Returns
// the exit code.
template <typename Options>
int run_program(const char* program, const char* usage,
                bool (*parse)(const std::vector<std::string>&, Options&, std::string&),
                void (*report)(const std::string&), int (*work)(const Options&), int argc,
                char** argv) {
    const auto body = [=](const std::vector<std::string>& args) {
        Options options;
        std::string error;
        const bool read = parse(args, options, error);
        const int code = command_line_exit(program, usage, read, options.asked, error, report);
        return code != kGoOn ? code : work(options);
    };
    return run_companion(program, body, argc, argv);
}

}  // namespace companion
