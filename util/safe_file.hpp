// Opening and creating the tool's files so that whatever stands in a shared
// work folder (a planted link, a FIFO, a device, a folder) can neither
// redirect a write nor make a read wait forever.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// Opens the file for reading in binary mode when it is a regular file, named
// directly or through a link. A folder, FIFO, device or socket is no file and
// gives null, as a missing file does; opening never waits. size, when given,
// receives the file's size at opening, so that a reader can stop there even
// if the file keeps growing.
std::FILE* open_regular_file(const char* path, int64_t* size = nullptr);

// Which file a name stood for when the tool created it.
struct FileIdentity {
    bool known = false;
    uint64_t device = 0;
    uint64_t inode = 0;
};

// Creates the file as a new regular file and opens it for writing: in text
// mode when text is set (line ends as the platform writes them), else binary.
// It is never opened through a link and never over anything that exists
// already: then the result is null. identity receives what was created.
std::FILE* create_new_file(const std::string& path, bool text, FileIdentity& identity);

// Creates a new file named prefix, a random part and suffix, as
// create_new_file does, trying other names while one is taken. name receives
// the name used. Null when no name could be created.
std::FILE* create_unique_file(const std::string& prefix, const std::string& suffix, bool text,
                              std::string& name, FileIdentity& identity);

// Removes what stands at path when it is a regular file or a link (a link is
// removed itself, never what it points at). A folder, FIFO or device stays.
void remove_file_or_link(const std::string& path);

// Removes path only while it still is the regular file that identity
// describes; where the system gives no identity, while it is a regular file.
// Whatever else was put in its place stays.
void remove_own_file(const std::string& path, const FileIdentity& identity);
