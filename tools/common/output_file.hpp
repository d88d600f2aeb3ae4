// Shared by the companion programs: writing an output file so that a failed
// run never leaves half a file, and naming files in one-line messages.
#pragma once

#include <string>

// Writes bytes to a temporary file beside path and renames it over path once
// it is complete. Returns false with a one-line reason in error, leaving any
// earlier file at path untouched, when that fails or path is read-only.
bool replace_file(const std::string& path, const std::string& bytes, std::string& error);

// A file name as a one-line message shows it: in quotes, with control
// characters replaced.
std::string shown_path(const std::string& path);
