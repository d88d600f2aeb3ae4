#include "util/file_probe.hpp"

#include <cstdio>

int probe_file_lines(const char* path) {
    std::FILE* file = std::fopen(path, "r");
    if (file == nullptr) {
        return 0;
    }
    // One read that returns text decides the answer, so there is no need to
    // walk the rest of a large file.
    char buffer[500];
    const bool has_text = std::fgets(buffer, sizeof buffer, file) != nullptr;
    std::fclose(file);
    return has_text ? 1 : -1;
}
