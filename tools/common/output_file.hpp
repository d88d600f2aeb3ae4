// Shared by the companion programs: naming files in one-line messages, and
// telling which outputs would write over an input or over each other.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace companion {

// The file name that stands for standard output (and, as an input, for
// standard input).
constexpr const char* kStandardOutput = "-";

// A file name as a one-line message shows it: in quotes, with control
// characters replaced.
std::string shown_path(const std::string& path);

// The output as a message names it: "standard output" for "-", else the
// file name as shown_path shows it.
std::string shown_output(const std::string& path);

// Whether writing output would replace one of the inputs: the same file,
// whatever the spelling of its path, or reached through a symbolic or hard
// link. If so, error holds a one-line reason. Standard output is never an
// input file.
bool output_is_an_input(const std::vector<std::string>& inputs, const std::string& output,
                        std::string& error);

// Whether two outputs name one file, whether or not it exists yet: the same
// file when both exist (any spelling, a symbolic or hard link), else the
// same absolute path once "." and ".." and the links of the part that
// exists are resolved. One device or FIFO is one file too: two streams into
// it would arrive mixed. Standard output is no file.
bool same_output_file(const std::string& first, const std::string& second);

// What a file of this type is, for a message: "a folder", "a FIFO", "a
// character device", "a block device" or "a socket". Null for a regular
// file, a missing one, or one whose type the system cannot tell.
const char* special_file_kind(std::filesystem::file_type type);

}  // namespace companion
