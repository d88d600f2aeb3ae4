#include "tools/common/command_line.hpp"

#include <cstdio>
#include <limits>
#include <utility>

#include "util/number_text.hpp"
#include "util/version.hpp"

namespace companion {

namespace {

// An option as it was written: its name, and a value after "=" (or joined to
// a short name) when one came with it.
struct Written {
    std::string name;
    std::string value;
    bool has_value = false;
};

const CommandOption* option_named(const std::vector<CommandOption>& options,
                                  const std::string& name) {
    for (const CommandOption& option : options) {
        for (const std::string& n : option.names) {
            if (n == name) {
                return &option;
            }
        }
    }
    return nullptr;
}

Written written_as(const std::string& arg, const std::vector<CommandOption>& options,
                   const CommandLineStyle& style) {
    Written w;
    w.name = arg;
    if (arg.compare(0, 2, "--") == 0) {
        const std::size_t equals = arg.find('=');
        if (equals != std::string::npos) {
            w = Written{arg.substr(0, equals), arg.substr(equals + 1), true};
        }
    } else if (style.joined_short_values && arg.size() > 2) {
        const CommandOption* joined = option_named(options, arg.substr(0, 2));
        if (joined != nullptr && joined->values == 1) {
            w = Written{arg.substr(0, 2), arg.substr(2), true};
        }
    }
    return w;
}

// Takes the option args[i] and the values after it, moving i past them.
bool take_option(const std::vector<std::string>& args, std::size_t& i,
                 const std::vector<CommandOption>& options, const CommandLineStyle& style,
                 std::string& error) {
    const Written w = written_as(args[i], options, style);
    const CommandOption* option = option_named(options, w.name);
    if (option == nullptr || (w.has_value && option->values != 1)) {
        error = "unknown option '" + args[i] + "' (see --help)";
        return false;
    }
    if (option->met && !option->met(error)) {
        return false;
    }
    if (option->values == 0 || w.has_value) {
        return option->take(0, w.value, error);
    }
    for (int k = 0; k < option->values; ++k) {
        if (i + 1 >= args.size()) {
            error = option->values == 1 ? style.needs_value_prefix + w.name + " needs a value"
                                        : option->too_few;
            return false;
        }
        if (!option->take(k, args[++i], error)) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool read_command_line(const std::vector<std::string>& args,
                       const std::vector<CommandOption>& options, const CommandLineStyle& style,
                       Asked& asked, const TakeFiles& take_files, std::string& error) {
    std::vector<std::string> files;
    bool only_files = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (only_files || arg.empty() || arg[0] != '-' || arg == "-") {
            files.push_back(arg);
        } else if (arg == "--") {
            only_files = true;
        } else if (arg == "-h" || arg == "--help") {
            asked.help = true;
            return true;
        } else if (arg == "--version") {
            asked.version = true;
            return true;
        } else if (!take_option(args, i, options, style, error)) {
            return false;
        }
    }
    return take_files(files, error);
}

CommandOption switch_option(const std::string& name, bool& target, bool value) {
    return {{name}, 0, [&target, value](int, const std::string&, std::string&) {
                target = value;
                return true;
            }};
}

CommandOption value_option(std::vector<std::string> names,
                           std::function<bool(const std::string& value, std::string& error)> take) {
    return {std::move(names), 1,
            [take = std::move(take)](int, const std::string& value, std::string& error) {
                return take(value, error);
            }};
}

CommandOption numbers_option(const std::string& name, double* numbers, int count, bool* given,
                             const std::string& too_few, const std::string& refused) {
    constexpr double kLargest = std::numeric_limits<double>::max();
    return {{name},
            count,
            [=](int k, const std::string& text, std::string& error) {
                if (!take_number(text, parse_real_token, -kLargest, kLargest, numbers[k], refused,
                                 error)) {
                    return false;
                }
                if (given != nullptr && k == count - 1) {
                    *given = true;
                }
                return true;
            },
            too_few};
}

int command_line_exit(const char* program, const char* usage, bool read, const Asked& asked,
                      const std::string& error, void (*report)(const std::string&)) {
    if (!read) {
        report(error);
        return kUsageError;
    }
    if (asked.help) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (asked.version) {
        std::printf("%s %s\n", program, holechart_version());
        return 0;
    }
    return kGoOn;
}

}  // namespace companion
