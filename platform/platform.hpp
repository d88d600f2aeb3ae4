// What stands in for the fixed Windows folders and the message box program.
// On Windows the folders are "C:\ZEP\work\" and "C:\ZEP\Link\". Elsewhere
// drive C: is a directory: $HOLECHART_DRIVE_C when set, else
// $WINEPREFIX/drive_c, else $HOME/.wine/drive_c.
#pragma once

#include <string>

struct FixedPaths {
    std::string work_folder;          // ends with the separator
    std::string link_folder;          // ends with the separator
    std::string entity_file;          // "Object.fad"
    std::string settings_file;        // "infoHoleTable.dat"
    std::string message_file;         // "message.dat"
    std::string message_box_program;  // "info_msgbox.exe"
    std::string result_file;          // "ResultDR.fad"
};

// The directory that stands for drive C: (not used on Windows).
std::string drive_c_folder();

FixedPaths build_fixed_paths();

// The command that runs the program through the command interpreter: its
// full path, quoted so that no character of it is interpreted by the shell.
std::string quote_program_path(const std::string& path);

// Runs the program through the command interpreter and waits for it to end.
// Its result is not examined, except to learn whether it could be started at
// all: returns false when the interpreter could not run it.
bool run_program_and_wait(const std::string& path);

// Runs that share a work folder take turns: each holds the folder from its
// start to its end, its message box included, so that each run's result and
// message stay its own. Outside Windows the folder itself is locked (no lock
// file); on Windows a mutex named after the folder is held.
struct WorkFolderLock {
    int descriptor = -1;
    void* mutex = nullptr;
};

// Waits, saying nothing, until no other run holds the work folder, then
// holds it until unlock_work_folder or the end of the process. A folder that
// cannot be opened (it does not exist) is not held: no other run can write
// there either.
WorkFolderLock lock_work_folder(const std::string& work_folder);
void unlock_work_folder(WorkFolderLock& lock);

// A file size limit makes writing fail with an error rather than end the
// process by a signal, so that the run can clean up and report it.
void ignore_file_size_signal();

// A reader that goes away (a closed pipe) makes writing fail with an error
// rather than end the process by a signal, so that the run can report it.
void ignore_broken_pipe_signal();
