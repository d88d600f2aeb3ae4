// Stand-in for the message box program on systems without the Windows one:
// shows the two lines of "message.dat" from the work folder on the terminal
// (standard error) and ends with 0, as the real one does once dismissed.
#include <cstdio>
#include <string>

#include "platform/platform.hpp"

int main() {
    const FixedPaths paths = build_fixed_paths();
    std::FILE* file = std::fopen(paths.message_file.c_str(), "r");
    if (file == nullptr) {
        std::fprintf(stderr, "info_msgbox: no message in %s\n", paths.message_file.c_str());
        return 0;
    }
    std::string text;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, file) != nullptr) {
        text += buffer;
    }
    std::fclose(file);
    if (!text.empty() && text.back() != '\n') {
        text.push_back('\n');
    }
    std::fputs(text.c_str(), stderr);
    return 0;
}
