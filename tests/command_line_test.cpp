// The companions' shared command-line reader, on a toy table of options that
// has one of each kind: a switch, a value with a short name, a value with a
// check before it, and two numbers. The companions' own words are tested
// with their programs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/common/command_line.hpp"

namespace {

struct Toy {
    bool force = false;
    std::string output;
    std::string name;
    double pair[2] = {0.0, 0.0};
    bool pair_given = false;
    std::vector<std::string> files;
    companion::Asked asked;
};

bool read_toy(const std::vector<std::string>& args, Toy& toy, std::string& error) {
    using companion::value_option;
    companion::CommandOption name =
        value_option({"--name"}, [&toy](const std::string& v, std::string&) {
            toy.name = v;
            return true;
        });
    name.met = [&toy](std::string& e) {
        if (!toy.name.empty()) {
            e = "only one name";
        }
        return toy.name.empty();
    };
    const std::vector<companion::CommandOption> known = {
        companion::switch_option("--force", toy.force),
        value_option({"-o", "--output"},
                     [&toy](const std::string& v, std::string&) {
                         toy.output = v;
                         return true;
                     }),
        name,
        companion::numbers_option("--pair", toy.pair, 2, &toy.pair_given, "--pair takes two",
                                  "--pair takes two numbers"),
    };
    const auto take_files = [&toy](std::vector<std::string>& files, std::string&) {
        toy.files = files;
        return true;
    };
    return companion::read_command_line(args, known, {true, "option "}, toy.asked, take_files,
                                        error);
}

TEST(CommandLine, EachKindOfArgumentAndEachRefusal) {
    struct Case {
        std::vector<std::string> args;
        const char* refused;  // nullptr: read
    };
    const Case cases[] = {
        {{"a", "-", "--force", "-oOUT", "--", "-x", "--force"}, nullptr},
        {{"--output=", "--name", "n", "--pair", "1", "-2.5e3"}, nullptr},
        {{"--help", "--bogus"}, nullptr},
        {{"--bogus", "--help"}, "unknown option '--bogus' (see --help)"},
        {{"--force=1"}, "unknown option '--force=1' (see --help)"},
        {{"--pair=1", "2"}, "unknown option '--pair=1' (see --help)"},
        {{"-o"}, "option -o needs a value"},
        {{"--pair", "1"}, "--pair takes two"},
        {{"--pair", "x", "1"}, "--pair takes two numbers, not 'x'"},
        {{"--pair", "1", "inf"}, "--pair takes two numbers, not 'inf'"},
        {{"--name", "a", "--name"}, "only one name"},
    };
    for (const Case& c : cases) {
        Toy toy;
        std::string error;
        const bool read = read_toy(c.args, toy, error);
        EXPECT_EQ(read, c.refused == nullptr) << c.args.front();
        EXPECT_EQ(error, c.refused == nullptr ? "" : c.refused) << c.args.front();
    }
    Toy toy;
    std::string error;
    ASSERT_TRUE(read_toy(cases[0].args, toy, error));
    EXPECT_EQ(toy.files, (std::vector<std::string>{"a", "-", "-x", "--force"}));
    EXPECT_TRUE(toy.force);
    EXPECT_EQ(toy.output, "OUT");
    ASSERT_TRUE(read_toy(cases[1].args, toy = Toy{}, error));
    EXPECT_EQ(toy.pair[1], -2500.0);
    EXPECT_TRUE(toy.pair_given);
    ASSERT_TRUE(read_toy(cases[2].args, toy = Toy{}, error));
    EXPECT_TRUE(toy.asked.help);
    EXPECT_TRUE(toy.files.empty());  // nothing after --help is looked at
}

}  // namespace
