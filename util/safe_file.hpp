// Opening and creating the tool's files so that whatever stands in a shared
// work folder (a planted link, a FIFO, a device, a folder) can neither
// redirect a write nor make a read wait forever.
// Every name is UTF-8 (util/native_name), on Windows too.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <system_error>

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

// Whether path names an existing file that its owner may not write. Such a
// file is kept even where the file system would let a rename replace it (a
// process with full rights, or POSIX renames): the user meant to keep it.
bool is_read_only_file(const std::string& path);

// A file written in full under a temporary name beside the file it is to
// replace, so that the target only ever holds an earlier or a complete text.
struct StagedFile {
    std::string target;
    std::string temporary;  // the target's name, a dot, ten random characters, ".tmp"
    FileIdentity identity;
};

// Writes a file's text to the stream; false when a write failed.
using FileWriter = std::function<bool(std::FILE*)>;

// Creates the temporary for target as create_unique_file does (new,
// exclusively, never through a link, a random name), lets write fill it in
// text or binary mode, then flushes and closes it, each step checked. On any
// failure, an exception included (which is passed on), the temporary is
// removed and error says why. The target is not touched.
bool stage_file(const std::string& target, bool text, const FileWriter& write, StagedFile& staged,
                std::error_code& error);

// Renames the staged temporary over its target; when that fails the
// temporary is removed and the target left as it was.
bool commit_staged_file(const StagedFile& staged, std::error_code& error);

// Removes the staged temporary while it is still the file that was created.
void discard_staged_file(const StagedFile& staged);

// stage_file, then commit_staged_file: the target is replaced by a complete
// file or left as it was.
bool replace_file_atomically(const std::string& target, bool text, const FileWriter& write,
                             std::error_code& error);
