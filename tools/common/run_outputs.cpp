#include "tools/common/run_outputs.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "tools/common/output_file.hpp"
#include "util/native_name.hpp"
#include "util/safe_file.hpp"

namespace companion {

namespace {

namespace fs = std::filesystem;

enum class Destination { standard_output, stream, file };

std::string cannot_write(const std::string& path, const std::string& reason) {
    return "cannot write " + shown_path(path) + ": " + reason;
}

// Where an output goes; false with the reason when nothing may be written
// there. A path that is no regular file is never replaced.
bool destination_of(const std::string& path, Destination& destination, std::string& error) {
    if (path == kStandardOutput) {
        destination = Destination::standard_output;
        return true;
    }
    std::error_code ec;
    const fs::file_type type = fs::status(native_path(path), ec).type();
    if (type == fs::file_type::character || type == fs::file_type::fifo) {
        destination = Destination::stream;
        return true;
    }
    if (type != fs::file_type::regular && type != fs::file_type::not_found &&
        type != fs::file_type::none) {
        const char* kind = special_file_kind(type);
        error = cannot_write(path, kind != nullptr ? std::string("it is ") + kind
                                                   : std::string("it is no regular file"));
        return false;
    }
    if (is_read_only_file(path)) {
        error = cannot_write(path, "it is read-only");
        return false;
    }
    destination = Destination::file;
    return true;
}

#ifdef _WIN32

int open_stream(const std::string& path, std::string& error) {
    const int fd = _wopen(wide_text(path).c_str(), _O_WRONLY | _O_BINARY | _O_NOINHERIT);
    if (fd < 0) {
        error = cannot_write(path, std::strerror(errno));
    }
    return fd;
}

long write_some(int fd, const char* data, std::size_t size) {
    return _write(fd, data, static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30)));
}

int close_stream(int fd) {
    return _close(fd);
}

#else

// Without creating anything, and without waiting for a FIFO's reader.
int open_stream(const std::string& path, std::string& error) {
    const int fd = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        error =
            cannot_write(path, errno == ENXIO ? std::string("it is a FIFO that no program reads")
                                              : std::strerror(errno));
        return -1;
    }
    // Whatever was put there since it was looked at: a regular file opened
    // this way would be written over without being replaced.
    struct stat st;
    if (fstat(fd, &st) != 0 || !(S_ISCHR(st.st_mode) || S_ISFIFO(st.st_mode))) {
        close(fd);
        error = cannot_write(path, "it changed while the run wrote it");
        return -1;
    }
    // From here a slow reader is waited for, as any writer would.
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

long write_some(int fd, const char* data, std::size_t size) {
    return static_cast<long>(write(fd, data, size));
}

int close_stream(int fd) {
    return close(fd);
}

#endif

// A device or FIFO, written in full and closed, each step checked.
bool write_stream(const std::string& path, std::string_view bytes, std::string& error) {
    const int fd = open_stream(path, error);
    if (fd < 0) {
        return false;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const long n = write_some(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            error = cannot_write(path, std::strerror(n < 0 ? errno : EIO));
            close_stream(fd);
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    if (close_stream(fd) != 0) {
        error = cannot_write(path, std::strerror(errno));
        return false;
    }
    return true;
}

bool write_standard_output(std::string_view bytes, std::string& error) {
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

bool stage_files(const std::vector<OutputBytes>& outputs,
                 const std::vector<Destination>& destinations, std::vector<StagedFile>& staged,
                 std::string& error) {
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        if (destinations[i] != Destination::file) {
            continue;
        }
        const std::string_view bytes = outputs[i].bytes;
        const auto write_bytes = [bytes](std::FILE* file) {
            return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        };
        std::error_code ec;
        staged.emplace_back();
        if (!stage_file(outputs[i].path, false, write_bytes, staged.back(), ec)) {
            staged.pop_back();
            error = cannot_write(outputs[i].path, ec.message());
            return false;
        }
    }
    return true;
}

bool write_streams(const std::vector<OutputBytes>& outputs,
                   const std::vector<Destination>& destinations, std::string& error) {
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        const bool ok = destinations[i] == Destination::standard_output
                            ? write_standard_output(outputs[i].bytes, error)
                        : destinations[i] == Destination::stream
                            ? write_stream(outputs[i].path, outputs[i].bytes, error)
                            : true;
        if (!ok) {
            return false;
        }
    }
    return true;
}

bool commit_files(const std::vector<StagedFile>& staged, std::string& error) {
    for (const StagedFile& file : staged) {
        std::error_code ec;
        if (!commit_staged_file(file, ec)) {
            error = cannot_write(file.target, ec.message());
            return false;
        }
    }
    return true;
}

// Removes the temporaries still there when a write ends, by a failure or an
// exception; one that was renamed over its target is no longer there.
struct TemporariesRemoved {
    const std::vector<StagedFile>& staged;
    ~TemporariesRemoved() {
        for (const StagedFile& file : staged) {
            discard_staged_file(file);
        }
    }
};

}  // namespace

bool write_outputs(const std::vector<OutputBytes>& outputs, std::string& error) {
    std::vector<Destination> destinations(outputs.size());
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        if (!destination_of(outputs[i].path, destinations[i], error)) {
            return false;
        }
    }
    std::vector<StagedFile> staged;
    // Reserved, so that adding a staged file never fails once it exists.
    staged.reserve(outputs.size());
    const TemporariesRemoved cleanup{staged};
    return stage_files(outputs, destinations, staged, error) &&
           write_streams(outputs, destinations, error) && commit_files(staged, error);
}

}  // namespace companion
