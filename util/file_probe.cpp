#include "util/file_probe.hpp"

#include <cstdio>

#include "util/safe_file.hpp"

int probe_file_lines(const char* path) {
    // Only a regular file can be opened: a FIFO or device is as good as
    // missing, and must not make the run wait.
    std::FILE* file = open_regular_file(path);
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
