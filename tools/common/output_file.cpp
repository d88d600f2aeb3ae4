#include "tools/common/output_file.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

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

bool replace_file(const std::string& path, const std::string& bytes, std::string& error) {
    const fs::path target(path);
    std::error_code ec;
    const fs::file_status status = fs::status(target, ec);
    if (fs::is_directory(status)) {
        error = "cannot write " + shown_path(path) + ": it is a folder";
        return false;
    }
    // A rename would replace a read-only file; the user meant to keep it.
    if (fs::exists(status) && (status.permissions() & fs::perms::owner_write) == fs::perms::none) {
        error = "cannot write " + shown_path(path) + ": it is read-only";
        return false;
    }

    fs::path temporary = target;
    temporary += ".part";
    // A link left there would make the write go to whatever it points at.
    if (fs::is_symlink(fs::symlink_status(temporary, ec))) {
        fs::remove(temporary, ec);
    }
    // Binary: the bytes are written as given, line ends included.
    std::FILE* file = std::fopen(temporary.string().c_str(), "wb");
    if (file == nullptr) {
        error = "cannot write " + shown_path(path) + ": " + std::strerror(errno);
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    int saved = errno;
    if (std::fflush(file) != 0 && ok) {
        ok = false;
        saved = errno;
    }
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        saved = errno;
    }
    if (ok) {
        fs::rename(temporary, target, ec);
        if (ec) {
            ok = false;
            error = "cannot write " + shown_path(path) + ": " + ec.message();
        }
    } else {
        error = "cannot write " + shown_path(path) + ": " + std::strerror(saved);
    }
    if (!ok) {
        fs::remove(temporary, ec);
    }
    return ok;
}

std::string shown_output(const std::string& path) {
    return path == kStandardOutput ? std::string("standard output") : shown_path(path);
}

bool write_output(const std::string& path, const std::string& bytes, std::string& error) {
    if (path != kStandardOutput) {
        return replace_file(path, bytes, error);
    }
#ifdef _WIN32
    // In text mode every line feed would gain a carriage return.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    errno = 0;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
    ok = std::fflush(stdout) == 0 && ok;
    if (ok && std::ferror(stdout) == 0) {
        return true;
    }
    const int saved = errno;
    error = "cannot write standard output";
    if (saved != 0) {
        error += std::string(": ") + std::strerror(saved);
    }
    return false;
}

bool output_is_an_input(const std::vector<std::string>& inputs, const std::string& output,
                        std::string& error) {
    if (output == kStandardOutput) {
        return false;
    }
    std::error_code ec;
    // A path that names nothing yet cannot be an input that was read.
    if (!fs::exists(output, ec)) {
        return false;
    }
    for (const std::string& input : inputs) {
        if (fs::exists(input, ec) && fs::equivalent(input, output, ec) && !ec) {
            error = "the output " + shown_path(output) + " is the input " + shown_path(input) +
                    "; name another output file, or give --force to write over it";
            return true;
        }
    }
    return false;
}
