// File names as the programs hold them, UTF-8 bytes, and as the system takes
// them. On Windows a name is UTF-16, and the narrow C library calls (fopen,
// _open, _stat) and std::filesystem's narrow paths read the bytes in another
// code page, so that a name outside ASCII names another file or none: every
// name goes through here instead. Elsewhere the bytes are the name.
#pragma once

#include <filesystem>
#include <string>

// The name as a std::filesystem path.
std::filesystem::path native_path(const std::string& name);

// A path as UTF-8 bytes, for a message or a picture's title.
std::string utf8_name(const std::filesystem::path& path);

#ifdef _WIN32
// UTF-8 text (a name, a command) in UTF-16, for the system's wide calls.
// Bytes that are no UTF-8 give an empty text: no Windows name converts to
// them, so as a name it rightly reaches no file.
std::wstring wide_text(const std::string& text);

// UTF-16 text (a name, an argument) in UTF-8. A lone surrogate, which has no
// UTF-8 form, becomes U+FFFD.
std::string utf8_text(const std::wstring& text);
#endif
