// The whole run on arbitrary input, in a drive folder of its own: the first
// line gives the command-line arguments, the second the settings file, the
// rest is "Object.fad". Whatever the input, the run ends with a report or a
// result that holds no "nan" or "inf" and reads back record for record.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "driver/hole_chart_run.hpp"
#include "entity/entity_file.hpp"
#include "tests/fuzz/fuzz_support.hpp"
#include "util/field_split.hpp"

namespace {

std::string_view take_line(std::string_view& rest) {
    const std::size_t end = rest.find('\n');
    const std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    return line;
}

std::string slurp(const std::string& path) {
    std::string text;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        std::size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
            text.append(buffer, got);
        }
        std::fclose(f);
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const FixedPaths paths = [] {
        ::setenv("HOLECHART_DRIVE_C", fuzz_scratch_folder().c_str(), 1);
        std::filesystem::create_directories(fuzz_scratch_folder() + "ZEP/work");
        return build_fixed_paths();
    }();
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    const std::string_view args_line = take_line(rest);
    const std::string_view settings = take_line(rest);

    auto write = [](const std::string& path, std::string_view bytes) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    };
    write(paths.settings_file, settings);
    write(paths.entity_file, rest);
    std::remove(paths.result_file.c_str());

    std::vector<std::string> words = split_fields(args_line, ' ').fields;
    std::vector<char*> argv;
    static char program[] = "holechart";
    argv.push_back(program);
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    const std::optional<RunError> error =
        perform_hole_chart_run(paths, static_cast<int>(argv.size()) - 1, argv.data());
    const std::string result = slurp(paths.result_file);
    if (error.has_value()) {
        if (!result.empty()) {
            std::abort();  // a report must not leave a result behind
        }
        return 0;
    }
    // Every token but the layer name (which the settings may spell any way)
    // is the tool's own number or text: none may read "nan" or "inf".
    std::size_t line_start = 0;
    while (line_start < result.size()) {
        const std::size_t line_end = std::min(result.find('\n', line_start), result.size());
        const FieldList tokens =
            split_fields(std::string_view(result).substr(line_start, line_end - line_start), ' ');
        for (int t = 0; t < tokens.count; ++t) {
            const std::string& token = tokens.fields[static_cast<std::size_t>(t)];
            if (t != 2 && (token.find("nan") != std::string::npos ||
                           token.find("inf") != std::string::npos)) {
                std::abort();
            }
        }
        line_start = line_end + 1;
    }
    if (!result.empty()) {
        EntityList list;
        int count = 0;
        read_entity_file(paths.result_file.c_str(), list, count);
        std::string again;
        for (int i = 0; i < count; ++i) {
            format_entity_record(list[static_cast<std::size_t>(i)], again);
        }
        if (again != result) {
            std::abort();
        }
    }
    return 0;
}
