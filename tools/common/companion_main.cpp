#include "tools/common/companion_main.hpp"

#include <cstdio>
#include <new>
#include <stdexcept>

#include "entity/entity_record.hpp"

int run_companion(const char* program, int (*body)(int, char**), int argc, char** argv) {
    // Running out of memory is this program's error, not the end of a run
    // as holechart's front end expects it.
    set_allocation_failure(AllocationFailure::throw_bad_alloc);
    try {
        return body(argc, argv);
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
