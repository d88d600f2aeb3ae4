// Shared by the companion programs: writing an output file so that a failed
// run never leaves half a file, and naming files in one-line messages.
#pragma once

#include <string>
#include <vector>

// The output name that stands for standard output.
constexpr const char* kStandardOutput = "-";

// Writes bytes to a temporary file beside path and renames it over path once
// it is complete. Returns false with a one-line reason in error, leaving any
// earlier file at path untouched, when that fails or path is read-only.
bool replace_file(const std::string& path, const std::string& bytes, std::string& error);

// A file name as a one-line message shows it: in quotes, with control
// characters replaced.
std::string shown_path(const std::string& path);

// Writes bytes to standard output when path is "-", in binary mode so that
// they arrive as given; otherwise replaces the file as replace_file does.
// A failed write to standard output (a full disk, a closed pipe) is an error
// too.
bool write_output(const std::string& path, const std::string& bytes, std::string& error);

// The output as a message names it: "standard output" for "-", else the
// file name as shown_path shows it.
std::string shown_output(const std::string& path);

// Whether writing output would replace one of the inputs: the same file,
// whatever the spelling of its path, or reached through a symbolic or hard
// link. If so, error holds a one-line reason. Standard output is never an
// input file.
bool output_is_an_input(const std::vector<std::string>& inputs, const std::string& output,
                        std::string& error);
