// The whole run on arbitrary input, in memory: the first line gives the
// command-line arguments, the second the settings file, the rest is
// "Object.fad". Whatever the input, the run ends with a report and no chart,
// or with a chart whose result holds no "nan" or "inf", has a line per
// record and reads back record for record into the same bytes.
#include <cstdlib>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "driver/hole_chart_run.hpp"
#include "entity/entity_file.hpp"
#include "tests/fuzz/fuzz_support.hpp"
#include "util/field_split.hpp"

namespace {

// Every token but the layer name (the third, which the settings may spell
// any way) is the tool's own number or text: none may read "nan" or "inf".
void check_numbers(std::string_view result) {
    if (result.find("nan") == std::string_view::npos &&
        result.find("inf") == std::string_view::npos) {
        return;
    }
    int t = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= result.size(); ++i) {
        const char c = i < result.size() ? result[i] : '\n';
        if (c != ' ' && c != '\n') {
            continue;
        }
        const std::string_view token = result.substr(start, i - start);
        if (!token.empty() && t++ != 2 &&
            (token.find("nan") != std::string_view::npos ||
             token.find("inf") != std::string_view::npos)) {
            std::abort();
        }
        t = c == '\n' ? 0 : t;
        start = i + 1;
    }
}

// Runs the input through the tool's run and checks what it made.
void check_run(std::string_view rest, ComputedChart& chart) {
    const std::string_view args_line = take_line(rest);
    const std::string_view settings = take_line(rest);

    std::vector<std::string> words = split_fields(args_line, ' ').fields;
    std::vector<char*> argv;
    static char program[] = "holechart";
    argv.push_back(program);
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    const std::optional<RunError> error = compute_hole_chart(
        RunInput{nullptr, MemoryFile{settings}}, RunInput{nullptr, MemoryFile{rest}},
        static_cast<int>(argv.size()) - 1, argv.data(), chart);
    if (error.has_value() || !chart.charted) {
        if (chart.charted) {
            std::abort();  // a report must not leave a result behind
        }
        return;
    }
    const std::string result =
        format_entity_records(chart.state.chart_list, chart.state.chart_count);
    check_numbers(result);
    if (count_lines(result) != static_cast<std::size_t>(chart.state.chart_count)) {
        std::abort();
    }
    // Reading back is a function of the result alone and costs as much as
    // the run, while most inputs give a result seen before: a table of the
    // results read back (one per slot, by hash) spares reading them again.
    static std::vector<std::size_t> read_back(std::size_t{1} << 18);
    const std::size_t hash = std::hash<std::string>{}(result);
    std::size_t& slot = read_back[hash & (read_back.size() - 1)];
    if (slot == hash) {
        return;
    }
    slot = hash;
    static EntityList list;
    int count = 0;
    if (!read_entity_file(MemoryFile{result}, list, count) || count != chart.state.chart_count ||
        format_entity_records(list, count) != result) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    // One chart computed into again and again, as a process that draws many
    // charts does: nothing of an earlier input may show in a later chart.
    static ComputedChart chart;
    check_run(bytes_of(data, size), chart);
    // The lists keep their storage; what the chart listed goes now, so that
    // an input's allocations and frees balance (libFuzzer otherwise runs
    // its leak check after it).
    chart.state.listing = ChartListing{};
    return 0;
}
