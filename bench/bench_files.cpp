#include "bench/bench_files.hpp"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <tuple>
#include <utility>

namespace {

// Never destroyed, so the exit handler that removes the folder can still
// read it after static objects are gone.
const std::filesystem::path* make_bench_folder() {
    const auto* folder = new std::filesystem::path(
        std::filesystem::temp_directory_path() / ("holechart-bench-" + std::to_string(::getpid())));
    std::filesystem::create_directories(*folder);
    std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(temporary_path(""), ec);
    });
    return folder;
}

}  // namespace

std::string temporary_path(const std::string& name) {
    static const std::filesystem::path* folder = make_bench_folder();
    return (*folder / name).string();
}

std::string generated_drawing_file(int entities, int holes, HoleLayout layout) {
    static std::map<std::tuple<int, int, HoleLayout>, std::string> made;
    const auto key = std::make_tuple(entities, holes, layout);
    const auto found = made.find(key);
    if (found != made.end()) {
        return found->second;
    }
    const GeneratedDrawing drawing = generate_drawing(entities, holes, 20261207u, layout);
    const std::string path =
        temporary_path("drawing-" + std::to_string(entities) + "-" + std::to_string(holes) + "-" +
                       hole_layout_name(layout) + ".fad");
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(drawing.text.data(), 1, drawing.text.size(), f);
    std::fclose(f);
    made[key] = path;
    return path;
}

long long file_size(const std::string& path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    return ec ? 0 : static_cast<long long>(size);
}
