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
    // Some systems open a folder for reading and only fail on the first
    // read; such a path is no readable file, not an empty one.
    const bool unreadable = !has_text && std::ferror(file) != 0;
    std::fclose(file);
    if (unreadable) {
        return 0;
    }
    return has_text ? 1 : -1;
}
