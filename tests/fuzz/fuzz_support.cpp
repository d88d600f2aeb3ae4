#include "tests/fuzz/fuzz_support.hpp"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

const std::string& fuzz_scratch_folder() {
    static const std::string folder = [] {
        const std::filesystem::path p = std::filesystem::temp_directory_path() /
                                        ("holechart-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(p);
        return p.string() + "/";
    }();
    return folder;
}

std::string write_scratch_file(const std::string& name, const uint8_t* data, std::size_t size) {
    const std::string path = fuzz_scratch_folder() + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::abort();
    }
    if (size > 0 && std::fwrite(data, 1, size, file) != size) {
        std::abort();
    }
    std::fclose(file);
    return path;
}
