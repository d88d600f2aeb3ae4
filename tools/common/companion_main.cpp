#include "tools/common/companion_main.hpp"

#include <cstdio>
#include <new>
#include <stdexcept>
#include <vector>

#ifdef _WIN32
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>
#else
#include <cerrno>

#include <fcntl.h>
#include <unistd.h>
#endif

#include "entity/entity_record.hpp"
#include "platform/platform.hpp"
#include "util/native_name.hpp"

namespace companion {

namespace {

// A closed standard stream's number would go to the next file opened, and
// what is meant for standard output would land in a drawing. Each closed one
// is held by a descriptor that cannot be used that way (standard input open
// for writing, output and error for reading), so that using it still fails.
void hold_closed_standard_streams() {
#ifndef _WIN32
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            const int held = open("/dev/null", fd == 0 ? O_WRONLY : O_RDONLY);
            if (held >= 0 && held != fd) {
                close(held);
            }
        }
    }
#endif
}

// The arguments in UTF-8. On Windows the C library hands them over in the
// ANSI code page, where a name outside it arrives as another name or with
// question marks: there they are taken from the system's own UTF-16 command
// line instead.
std::vector<std::string> utf8_arguments(int argc, char** argv) {
#ifdef _WIN32
    int count = 0;
    if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        std::vector<std::string> args;
        for (int i = 0; i < count; ++i) {
            args.push_back(utf8_text(wide[i]));
        }
        LocalFree(wide);
        return args;
    }
#endif
    return std::vector<std::string>(argv, argv + argc);
}

}  // namespace

int run_companion(const char* program,
                  const std::function<int(const std::vector<std::string>& args)>& body, int argc,
                  char** argv) {
    hold_closed_standard_streams();
    // A closed pipe or a file size limit is a write error that the program
    // reports in one line, with its temporaries removed, not a silent end.
    ignore_broken_pipe_signal();
    ignore_file_size_signal();
    // Running out of memory is this program's error, not the end of a run
    // as holechart's front end expects it.
    set_allocation_failure(AllocationFailure::throw_bad_alloc);
    try {
        std::vector<std::string> args = utf8_arguments(argc, argv);
        if (!args.empty()) {
            args.erase(args.begin());
        }
        return body(args);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
        // A size beyond what any allocation could hold.
    }
    // Plain stdio: the report must not need memory itself.
    std::fputs(program, stderr);
    std::fputs(": out of memory\n", stderr);
    return 1;
}

std::string one_line(const char* message_line) {
    std::string line = message_line;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.pop_back();
    }
    return line;
}

}  // namespace companion
