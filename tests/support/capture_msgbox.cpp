// Test stand-in for the message box program: appends the bytes of
// "message.dat" to "message.seen" in the work folder, so a test can check
// exactly what the user would have been shown, and that the file existed
// while the program ran.
#include <cstdio>

#include "platform/platform.hpp"

int main() {
    const FixedPaths paths = build_fixed_paths();
    std::FILE* in = std::fopen(paths.message_file.c_str(), "rb");
    std::FILE* out = std::fopen((paths.work_folder + "message.seen").c_str(), "ab");
    if (out == nullptr) {
        return 1;
    }
    if (in == nullptr) {
        std::fputs("<no message.dat>\n", out);
    } else {
        char buffer[4096];
        std::size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
            std::fwrite(buffer, 1, got, out);
        }
        std::fclose(in);
    }
    std::fclose(out);
    return 0;
}
