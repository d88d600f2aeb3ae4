#include "tools/common/input_file.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "util/native_name.hpp"
#include "util/safe_file.hpp"

namespace companion {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using OpenFile = std::unique_ptr<std::FILE, FileCloser>;

// Why a file did not open: what stands there when that is no regular file,
// else the system's reason.
std::string reason_not_opened(const std::string& path, int error_number) {
    std::error_code ec;
    const auto type = std::filesystem::status(native_path(path), ec).type();
    if (const char* kind = special_file_kind(type)) {
        return std::string("it is ") + kind +
               (type == std::filesystem::file_type::directory ? "" : ", not a regular file");
    }
    return std::strerror(error_number != 0 ? error_number : EIO);
}

std::string cannot_read(const std::string& path, const std::string& reason) {
    return "cannot read " + (path == kStandardInput ? "standard input" : shown_path(path)) + ": " +
           reason;
}

std::string more_than(std::uint64_t limit) {
    return "it holds more than " + std::to_string(limit) + " bytes";
}

// Reads chunks until the end, or until more than limit bytes have come.
bool read_stream(std::FILE* file, std::uint64_t limit, std::string& bytes) {
    char chunk[1 << 16];
    std::size_t got = 0;
    while (bytes.size() <= limit && (got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes.append(chunk, got);
    }
    return std::ferror(file) == 0;
}

InputRead read_standard_input(std::uint64_t max_bytes, std::string& bytes, std::string& error) {
#ifdef _WIN32
    // In text mode every CR LF would lose its CR.
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    const std::uint64_t limit = std::min(max_bytes, kStandardInputLimit);
    errno = 0;
    if (!read_stream(stdin, limit, bytes)) {
        error = cannot_read(kStandardInput, std::strerror(errno != 0 ? errno : EIO));
        return InputRead::refused;
    }
    if (bytes.size() > limit) {
        bytes.clear();
        error = cannot_read(kStandardInput, more_than(limit));
        return InputRead::too_large;
    }
    return InputRead::read;
}

}  // namespace

std::string unreadable_input_reason(const std::string& path) {
    errno = 0;
    std::FILE* file = open_regular_file(path.c_str());
    if (file == nullptr) {
        return reason_not_opened(path, errno);
    }
    std::fclose(file);
    return std::string();
}

InputRead read_input_file(const std::string& path, std::uint64_t max_bytes, std::string& bytes,
                          std::string& error) {
    bytes.clear();
    if (path == kStandardInput) {
        return read_standard_input(max_bytes, bytes, error);
    }
    int64_t size = 0;
    errno = 0;
    const OpenFile file(open_regular_file(path.c_str(), &size));
    if (file == nullptr) {
        error = cannot_read(path, reason_not_opened(path, errno));
        return InputRead::refused;
    }
    const auto at_opening = static_cast<std::uint64_t>(size);
    if (at_opening > max_bytes) {
        error = cannot_read(path, more_than(max_bytes));
        return InputRead::too_large;
    }
    // No more than the file held when it was opened, even if it grows.
    bytes.resize(static_cast<std::size_t>(at_opening));
    errno = 0;
    const std::size_t got = std::fread(&bytes[0], 1, bytes.size(), file.get());
    if (got < bytes.size() && std::ferror(file.get()) != 0) {
        error = cannot_read(path, std::strerror(errno != 0 ? errno : EIO));
        bytes.clear();
        return InputRead::refused;
    }
    bytes.resize(got);
    return InputRead::read;
}

}  // namespace companion
