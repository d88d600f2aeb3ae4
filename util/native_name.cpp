#include "util/native_name.hpp"

#ifdef _WIN32
#include <windows.h>
#endif

#ifdef _WIN32

std::wstring wide_text(const std::string& text) {
    if (text.empty()) {
        return std::wstring();
    }
    const int size = static_cast<int>(text.size());
    const int length =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (length <= 0) {
        return std::wstring();
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, &wide[0], length);
    return wide;
}

std::string utf8_text(const std::wstring& text) {
    if (text.empty()) {
        return std::string();
    }
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) {
        return std::string();
    }
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, &bytes[0], length, nullptr, nullptr);
    return bytes;
}

std::filesystem::path native_path(const std::string& name) {
    // Not std::filesystem::u8path: it throws on bytes that are no UTF-8.
    return std::filesystem::path(wide_text(name));
}

std::string utf8_name(const std::filesystem::path& path) {
    return utf8_text(path.wstring());
}

#else

std::filesystem::path native_path(const std::string& name) {
    return std::filesystem::path(name);
}

std::string utf8_name(const std::filesystem::path& path) {
    return path.string();
}

#endif
