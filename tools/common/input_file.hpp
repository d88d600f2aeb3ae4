// Reading a companion's input whole: only from a regular file, or from
// standard input up to a stated size, so that a device, FIFO or folder named
// as input is refused at once instead of being read without end or waited on.
#pragma once

#include <cstdint>
#include <string>

#include "tools/common/output_file.hpp"

namespace companion {

// The input name that stands for standard input.
constexpr const char* kStandardInput = kStandardOutput;

// The most that an input of "-" reads from standard input: 1 GiB.
constexpr std::uint64_t kStandardInputLimit = std::uint64_t{1} << 30;

enum class InputRead { read, refused, too_large };

// Why path cannot be read as a regular file, in words for a message: "it is
// a folder", "it is a FIFO, not a regular file", the system's reason ("No
// such file or directory"). Empty when it can be read.
std::string unreadable_input_reason(const std::string& path);

// Reads the input into bytes: a regular file (named directly or through a
// link) up to the size it had when it was opened, or standard input for "-"
// up to kStandardInputLimit. An input of more than max_bytes is too_large,
// with nothing read, so that a caller can bound its memory. Anything but
// read comes with a one-line reason in error ("cannot read 'X': ...").
InputRead read_input_file(const std::string& path, std::uint64_t max_bytes, std::string& bytes,
                          std::string& error);

}  // namespace companion
