#include "util/safe_file.hpp"

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#ifdef _WIN32
#include <io.h>
#include <process.h>
#else
#include <unistd.h>
#endif

#include "util/native_name.hpp"

namespace {

#ifdef _WIN32

bool is_regular_mode(unsigned mode) {
    return (mode & _S_IFMT) == _S_IFREG;
}

// What stands at the path, without following a link: a Windows link to a
// file reads as that file here, which is as safe, since creating one needs
// rights the tool's users do not share.
bool stands_as_regular_file(const std::string& path) {
    struct _stat64 st;
    return _wstat64(wide_text(path).c_str(), &st) == 0 && is_regular_mode(st.st_mode);
}

int remove_name(const std::string& path) {
    return _wunlink(wide_text(path).c_str());
}

#else

FileIdentity identity_of(const struct stat& st) {
    return FileIdentity{true, static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
}

int remove_name(const std::string& path) {
    // unlink never removes a folder, and removes a link itself.
    return unlink(path.c_str());
}

#endif

// A seed that differs between runs started at the same moment.
uint64_t name_seed() {
    uint64_t seed =
        static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
#ifdef _WIN32
    seed ^= static_cast<uint64_t>(_getpid()) << 32;
#else
    seed ^= static_cast<uint64_t>(getpid()) << 32;
#endif
    try {
        std::random_device device;
        seed ^= (static_cast<uint64_t>(device()) << 16) ^ device();
    } catch (...) {
        // The clock and the process number alone still make names unlikely
        // to clash; a clash only costs another try.
    }
    return seed;
}

}  // namespace

std::FILE* open_regular_file(const char* path, int64_t* size) {
#ifdef _WIN32
    std::FILE* file = _wfopen(wide_text(path).c_str(), L"rb");
    if (file == nullptr) {
        return nullptr;
    }
    struct _stat64 st;
    if (_fstat64(_fileno(file), &st) != 0 || !is_regular_mode(st.st_mode)) {
        std::fclose(file);
        return nullptr;
    }
#else
    // Look before opening: opening a FIFO waits for a writer, and opening a
    // device may do something of its own.
    struct stat st;
    if (stat(path, &st) != 0 || !S_ISREG(st.st_mode)) {
        return nullptr;
    }
    // Without waiting, and checked again, in case something else has been
    // put there in the meantime.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return nullptr;
    }
    std::FILE* file = fdopen(fd, "rb");
    if (file == nullptr) {
        close(fd);
        return nullptr;
    }
#endif
    if (size != nullptr) {
        *size = static_cast<int64_t>(st.st_size);
    }
    return file;
}

std::FILE* create_new_file(const std::string& path, bool text, FileIdentity& identity) {
    identity = FileIdentity{};
#ifdef _WIN32
    // Not inherited by the programs the tool starts, such as the message box.
    const int fd =
        _wopen(wide_text(path).c_str(),
               _O_WRONLY | _O_CREAT | _O_EXCL | _O_NOINHERIT | (text ? _O_TEXT : _O_BINARY),
               _S_IREAD | _S_IWRITE);
    if (fd < 0) {
        return nullptr;
    }
    std::FILE* file = _fdopen(fd, text ? "w" : "wb");
    if (file == nullptr) {
        _close(fd);
        remove_name(path);
    }
    return file;
#else
    (void)text;  // POSIX text and binary modes are the same
    // O_EXCL fails on anything that exists, a link included, so nothing is
    // ever written through a link. The permissions are what fopen gives.
    const int fd =
        open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) {
        return nullptr;
    }
    struct stat st;
    if (fstat(fd, &st) == 0) {
        identity = identity_of(st);
    }
    std::FILE* file = fdopen(fd, "w");
    if (file == nullptr) {
        close(fd);
        remove_own_file(path, identity);
    }
    return file;
#endif
}

namespace {

// Tries new names (prefix, ten random characters, suffix) until create makes
// a file under one; name receives the name used. Only a name that is taken
// is worth another try.
template <typename Create>
std::FILE* create_under_unique_name(const std::string& prefix, const std::string& suffix,
                                    std::string& name, Create create) {
    static const char kCharacters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::mt19937_64 engine(name_seed());
    std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof kCharacters) - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = prefix;
        for (int k = 0; k < 10; ++k) {
            candidate.push_back(kCharacters[pick(engine)]);
        }
        candidate += suffix;
        errno = 0;
        if (std::FILE* file = create(candidate)) {
            name = candidate;
            return file;
        }
        if (errno != EEXIST) {
            return nullptr;
        }
    }
    return nullptr;
}

}  // namespace

std::FILE* create_unique_file(const std::string& prefix, const std::string& suffix, bool text,
                              std::string& name, FileIdentity& identity) {
    return create_under_unique_name(prefix, suffix, name, [&](const std::string& candidate) {
        return create_new_file(candidate, text, identity);
    });
}

void remove_file_or_link(const std::string& path) {
#ifdef _WIN32
    if (stands_as_regular_file(path)) {
        remove_name(path);
    }
#else
    struct stat st;
    if (lstat(path.c_str(), &st) == 0 && (S_ISREG(st.st_mode) || S_ISLNK(st.st_mode))) {
        remove_name(path);
    }
#endif
}

void remove_own_file(const std::string& path, const FileIdentity& identity) {
#ifdef _WIN32
    (void)identity;
    if (stands_as_regular_file(path)) {
        remove_name(path);
    }
#else
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return;
    }
    const FileIdentity there = identity_of(st);
    if (!identity.known || (there.device == identity.device && there.inode == identity.inode)) {
        remove_name(path);
    }
#endif
}

bool is_read_only_file(const std::string& path) {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(native_path(path), ec);
    if (ec || !std::filesystem::exists(status)) {
        return false;
    }
    return (status.permissions() & std::filesystem::perms::owner_write) ==
           std::filesystem::perms::none;
}

namespace {

// The reason of the last failed call, or a plain input/output error where
// the library left none.
std::error_code last_error() {
    return std::error_code(errno != 0 ? errno : EIO, std::generic_category());
}

}  // namespace

bool stage_file(const std::string& target, bool text, const FileWriter& write, StagedFile& staged,
                std::error_code& error) {
    staged = StagedFile{target, std::string(), FileIdentity{}};
    errno = 0;
    std::FILE* file =
        create_unique_file(target + ".", ".tmp", text, staged.temporary, staged.identity);
    if (file == nullptr) {
        error = last_error();
        return false;
    }
    bool ok = false;
    try {
        errno = 0;
        ok = write(file);
    } catch (...) {
        // Running out of memory ends the run; the partial file goes first.
        std::fclose(file);
        discard_staged_file(staged);
        throw;
    }
    ok = ok && std::fflush(file) == 0 && std::ferror(file) == 0;
    if (!ok) {
        error = last_error();
    }
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        error = last_error();
    }
    if (!ok) {
        discard_staged_file(staged);
    }
    return ok;
}

bool commit_staged_file(const StagedFile& staged, std::error_code& error) {
    // On Windows MoveFileExW, which replaces an existing target.
    std::filesystem::rename(native_path(staged.temporary), native_path(staged.target), error);
    if (error) {
        discard_staged_file(staged);
        return false;
    }
    return true;
}

void discard_staged_file(const StagedFile& staged) {
    remove_own_file(staged.temporary, staged.identity);
}

bool replace_file_atomically(const std::string& target, bool text, const FileWriter& write,
                             std::error_code& error) {
    StagedFile staged;
    return stage_file(target, text, write, staged, error) && commit_staged_file(staged, error);
}
