#include "tools/common/output_file.hpp"

#include <filesystem>
#include <system_error>

#include "util/native_name.hpp"

namespace companion {

namespace fs = std::filesystem;

std::string shown_path(const std::string& path) {
    std::string shown = "'";
    for (char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        shown.push_back(byte < 0x20 || byte == 0x7F ? '?' : c);
    }
    shown.push_back('\'');
    return shown;
}

std::string shown_output(const std::string& path) {
    return path == kStandardOutput ? std::string("standard output") : shown_path(path);
}

bool output_is_an_input(const std::vector<std::string>& inputs, const std::string& output,
                        std::string& error) {
    if (output == kStandardOutput) {
        return false;
    }
    std::error_code ec;
    const fs::path output_path = native_path(output);
    // A path that names nothing yet cannot be an input that was read.
    if (!fs::exists(output_path, ec)) {
        return false;
    }
    for (const std::string& input : inputs) {
        const fs::path input_path = native_path(input);
        if (fs::exists(input_path, ec) && fs::equivalent(input_path, output_path, ec) && !ec) {
            error = "the output " + shown_path(output) + " is the input " + shown_path(input) +
                    "; name another output file, or give --force to write over it";
            return true;
        }
    }
    return false;
}

namespace {

// The path from the root, with "." and ".." resolved, and the links of the
// part that exists.
fs::path resolved_path(const std::string& name) {
    const fs::path path = native_path(name);
    std::error_code ec;
    const fs::path absolute = fs::absolute(path, ec);
    if (ec) {
        return path.lexically_normal();
    }
    const fs::path resolved = fs::weakly_canonical(absolute, ec);
    return ec ? absolute.lexically_normal() : resolved.lexically_normal();
}

}  // namespace

bool same_output_file(const std::string& first, const std::string& second) {
    if (first == kStandardOutput || second == kStandardOutput) {
        return false;
    }
    std::error_code ec;
    const fs::path first_path = native_path(first);
    const fs::path second_path = native_path(second);
    if (fs::exists(first_path, ec) && fs::exists(second_path, ec)) {
        const bool same = fs::equivalent(first_path, second_path, ec);
        if (!ec) {
            return same;
        }
        // A device or FIFO, which the library may not compare: by its path.
    }
    return resolved_path(first) == resolved_path(second);
}

const char* special_file_kind(fs::file_type type) {
    switch (type) {
        case fs::file_type::directory:
            return "a folder";
        case fs::file_type::fifo:
            return "a FIFO";
        case fs::file_type::character:
            return "a character device";
        case fs::file_type::block:
            return "a block device";
        case fs::file_type::socket:
            return "a socket";
        default:
            return nullptr;
    }
}

}  // namespace companion
