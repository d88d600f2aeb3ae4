// Stand-in for the message box program: shows the two lines of
// "message.dat" from the work folder and ends with 0, as the real one does
// once dismissed. On Windows it shows them in a message box (the file is
// UTF-8 text), and on the console where no box can be shown (no desktop, as
// under Wine without a display); elsewhere on the terminal (standard error).
#include <cstdio>
#include <string>

#include "platform/platform.hpp"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

#ifdef _WIN32

std::wstring wide_from_utf8(const std::string& text) {
    if (text.empty()) {
        return std::wstring();
    }
    const int size = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    if (needed <= 0) {
        // Not UTF-8: the bytes as the system's code page has them.
        std::wstring wide(text.begin(), text.end());
        return wide;
    }
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, &wide[0], needed);
    return wide;
}

// True once the user has dismissed the box; false when none could be shown.
bool show_box(const std::string& text) {
    const int answer =
        MessageBoxW(nullptr, wide_from_utf8(text).c_str(), L"holechart", MB_OK | MB_ICONERROR);
    return answer == IDOK;
}

#else

bool show_box(const std::string&) {
    return false;
}

#endif

}  // namespace

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
    if (!show_box(text)) {
        std::fputs(text.c_str(), stderr);
    }
    return 0;
}
