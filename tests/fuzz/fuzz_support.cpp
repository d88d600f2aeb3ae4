#include "tests/fuzz/fuzz_support.hpp"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

// Never destroyed, so the exit handler that removes the folder can still
// read it after static objects are gone.
const std::string* make_scratch_folder() {
    const std::filesystem::path p =
        std::filesystem::temp_directory_path() / ("holechart-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(p);
    const std::string* folder = new std::string(p.string() + "/");
    std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(fuzz_scratch_folder(), ec);
    });
    return folder;
}

}  // namespace

const std::string& fuzz_scratch_folder() {
    static const std::string* folder = make_scratch_folder();
    return *folder;
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
