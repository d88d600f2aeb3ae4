#include "platform/platform.hpp"

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include <csignal>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

const char* env_value(const char* name) {
    const char* value = std::getenv(name);
    return (value != nullptr && value[0] != '\0') ? value : nullptr;
}

std::string with_separator(std::string folder) {
    if (folder.empty() || folder.back() != '/') {
        folder.push_back('/');
    }
    return folder;
}

std::string home_folder() {
    if (const char* home = env_value("HOME")) {
        return home;
    }
#ifndef _WIN32
    if (const passwd* entry = getpwuid(getuid())) {
        if (entry->pw_dir != nullptr) {
            return entry->pw_dir;
        }
    }
#endif
    return ".";
}

}  // namespace

std::string drive_c_folder() {
    if (const char* drive = env_value("HOLECHART_DRIVE_C")) {
        return drive;
    }
    if (const char* prefix = env_value("WINEPREFIX")) {
        return with_separator(prefix) + "drive_c";
    }
    return with_separator(home_folder()) + ".wine/drive_c";
}

FixedPaths build_fixed_paths() {
    FixedPaths paths;
#ifdef _WIN32
    paths.work_folder = "C:\\ZEP\\work\\";
    paths.link_folder = "C:\\ZEP\\Link\\";
#else
    const std::string drive = with_separator(drive_c_folder());
    paths.work_folder = drive + "ZEP/work/";
    paths.link_folder = drive + "ZEP/Link/";
#endif
    paths.entity_file = paths.work_folder + "Object.fad";
    paths.settings_file = paths.work_folder + "infoHoleTable.dat";
    paths.message_file = paths.work_folder + "message.dat";
    paths.message_box_program = paths.link_folder + "info_msgbox.exe";
    paths.result_file = paths.work_folder + "ResultDR.fad";
    return paths;
}

std::string quote_program_path(const std::string& path) {
#ifdef _WIN32
    // cmd.exe takes a double-quoted path literally; a Windows path cannot
    // hold a double quote itself. cmd /c, which system uses, strips the
    // first and the last quote of a command that starts with one whenever
    // the path holds a character such as & or (: the outer pair is there
    // for it to strip.
    return "\"\"" + path + "\"\"";
#else
    // Inside single quotes the shell interprets nothing; a single quote of
    // the path closes the quotes, is written escaped, and reopens them.
    std::string quoted = "'";
    for (char c : path) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted.push_back(c);
        }
    }
    quoted.push_back('\'');
    return quoted;
#endif
}

bool run_program_and_wait(const std::string& path) {
    const int status = std::system(quote_program_path(path).c_str());
    if (status == -1) {
        return false;
    }
#ifdef _WIN32
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        return false;
    }
    // An exception code (0xC0000005 and the like) as the exit code: the
    // program crashed, perhaps before it showed anything.
    if (static_cast<unsigned>(status) >= 0xC0000000u) {
        return false;
    }
#else
    // The shell exits with 126 (not executable) or 127 (not found) when it
    // could not start the program, and with 128 + n when a signal n ended
    // it: in each case the message may not have been shown.
    if (WIFSIGNALED(status)) {
        return false;
    }
    if (WIFEXITED(status) &&
        (WEXITSTATUS(status) == 126 || WEXITSTATUS(status) == 127 || WEXITSTATUS(status) > 128)) {
        return false;
    }
#endif
    return true;
}

WorkFolderLock lock_work_folder(const std::string& work_folder) {
    WorkFolderLock lock;
#ifdef _WIN32
    // A mutex name may not hold a backslash after its namespace.
    std::string name = "Local\\holechart-lock-";
    for (char c : work_folder) {
        name.push_back(c == '\\' || c == ':' ? '_' : c);
    }
    HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());
    if (mutex == nullptr) {
        return lock;
    }
    const DWORD waited = WaitForSingleObject(mutex, INFINITE);
    // An abandoned mutex was held by a run that ended without releasing it:
    // it is ours now all the same.
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        CloseHandle(mutex);
        return lock;
    }
    lock.mutex = mutex;
#else
    const int fd = open(work_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return lock;
    }
    // Not inherited by the message box program (O_CLOEXEC), which could
    // otherwise hold the lock beyond the run.
    int locked;
    do {
        locked = flock(fd, LOCK_EX);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        // A file system without locks: the run goes on unprotected rather
        // than not at all.
        close(fd);
        return lock;
    }
    lock.descriptor = fd;
#endif
    return lock;
}

void unlock_work_folder(WorkFolderLock& lock) {
#ifdef _WIN32
    if (lock.mutex != nullptr) {
        ReleaseMutex(static_cast<HANDLE>(lock.mutex));
        CloseHandle(static_cast<HANDLE>(lock.mutex));
        lock.mutex = nullptr;
    }
#else
    if (lock.descriptor >= 0) {
        close(lock.descriptor);  // releases the lock
        lock.descriptor = -1;
    }
#endif
}

void ignore_file_size_signal() {
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

void ignore_broken_pipe_signal() {
#ifdef SIGPIPE
    std::signal(SIGPIPE, SIG_IGN);
#endif
}
