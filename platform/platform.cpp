#include "platform/platform.hpp"

#include <cstdlib>
#include <filesystem>

#ifndef _WIN32
#include <pwd.h>
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
    // hold a double quote itself.
    return "\"" + path + "\"";
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
#else
    // The shell exits with 126 (not executable) or 127 (not found) when it
    // could not start the program.
    if (WIFEXITED(status) && (WEXITSTATUS(status) == 126 || WEXITSTATUS(status) == 127)) {
        return false;
    }
#endif
    return true;
}
