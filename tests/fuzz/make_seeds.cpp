// Writes the generated seeds of the fuzz corpora (scripts/make-fuzz-seeds.sh
// runs it from the repository root): small drawings of every hole layout of
// the benchmark generator, the charts the tool draws for them, the example
// plate and the exchange files of the DXF tests, cut into seeds of at most
// kSeedBytes on line ends, so that the fuzzer starts from short inputs.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/drawing_generator.hpp"
#include "driver/hole_chart_run.hpp"
#include "entity/entity_file.hpp"

namespace {

constexpr std::size_t kSeedBytes = 1024;
const std::filesystem::path kCorpus = "tests/fuzz/corpus";

std::string slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "make_seeds: cannot read %s\n", path.string().c_str());
        std::exit(1);
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void put(const std::string& target, const std::string& name, const std::string& bytes) {
    std::filesystem::create_directories(kCorpus / target);
    std::ofstream(kCorpus / target / name, std::ios::binary) << bytes;
}

// The text cut on line ends into parts of at most kSeedBytes (a longer line
// stands alone).
std::vector<std::string> parts_of(const std::string& text, std::size_t limit = kSeedBytes) {
    std::vector<std::string> parts(1);
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size() - 1) + 1;
        if (!parts.back().empty() && parts.back().size() + (end - start) > limit) {
            parts.emplace_back();
        }
        parts.back().append(text, start, end - start);
        start = end;
    }
    return parts;
}

// An exchange file as seeds of the two targets that take one.
void put_drawing(const std::string& name, const std::string& text, std::size_t most_parts = 4) {
    const std::vector<std::string> parts = parts_of(text);
    for (std::size_t k = 0; k < parts.size() && k < most_parts; ++k) {
        const std::string file = name + (parts.size() > 1 ? "-" + std::to_string(k + 1) : "");
        put("fuzz_entity_reader", file + ".fad", parts[k]);
        put("fuzz_fad2svg", file + ".fad", parts[k]);
    }
}

// The chart the tool draws, in the exchange format; empty when it draws none.
std::string chart_of(const std::string& arguments, const std::string& settings,
                     const std::string& drawing) {
    std::istringstream words(arguments);
    std::vector<std::string> args{"holechart"};
    for (std::string word; words >> word;) {
        args.push_back(word);
    }
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    ComputedChart chart;
    const RunInput settings_input{nullptr, MemoryFile{settings}};
    const RunInput drawing_input{nullptr, MemoryFile{drawing}};
    if (compute_hole_chart(settings_input, drawing_input, static_cast<int>(args.size()),
                           argv.data(), chart) ||
        !chart.charted) {
        return {};
    }
    return format_entity_records(chart.state.chart_list, chart.state.chart_count);
}

}  // namespace

int main() {
    const std::string window = "0 0 1000 1000 0 0";
    const std::string settings = "1 HoleChart 3 N 2.5";
    const HoleLayout layouts[] = {HoleLayout::scattered,         HoleLayout::grid_bottom_up,
                                  HoleLayout::row_right_to_left, HoleLayout::one_centre,
                                  HoleLayout::tolerance_chain,   HoleLayout::duplicates};
    uint32_t seed = 1;
    for (HoleLayout layout : layouts) {
        const std::string name = hole_layout_name(layout);
        const std::string drawing = generate_drawing(10, 5, seed++, layout).text;
        put_drawing("drawing-" + name, drawing);
        put_drawing("chart-" + name, chart_of(window, settings, drawing), 1);
        const std::string head = window + "\n" + settings + "\n";
        put("fuzz_whole_run", name, head + parts_of(drawing, kSeedBytes - head.size())[0]);
    }

    const std::filesystem::path plate = "examples/plate";
    const std::string arguments = parts_of(slurp(plate / "arguments.txt"))[0];
    const std::string plate_settings = slurp(plate / "infoHoleTable.dat");
    const std::string plate_drawing = slurp(plate / "Object.fad");
    put_drawing("plate", plate_drawing);
    put_drawing("plate-chart", chart_of(arguments, plate_settings, plate_drawing), 2);
    put("fuzz_settings", "plate.dat", plate_settings);
    // The plate's holes, in parts, each with the plate's window.
    std::string holes;
    for (const std::string& line : parts_of(plate_drawing, 1)) {
        if (line.find(" C ") != std::string::npos || line.find(" A ") != std::string::npos) {
            holes += line;
        }
    }
    const std::string head = arguments + plate_settings;
    const std::vector<std::string> parts = parts_of(holes, kSeedBytes - head.size());
    for (std::size_t k = 0; k < parts.size(); ++k) {
        put("fuzz_whole_run", "plate-holes-" + std::to_string(k + 1), head + parts[k]);
    }
    for (const char* name : {"kinds", "kinds_r12", "blocks_holes", "rounds_holes"}) {
        put_drawing(std::string("dxf-") + name,
                    slurp(std::filesystem::path("tests/data/dxf") / (std::string(name) + ".fad")));
    }
    return 0;
}
