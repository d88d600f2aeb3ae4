// Writing the outputs of one run (a drawing and its table, a picture) as one
// unit: a failed run replaces no earlier file and leaves no partial one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace companion {

// One output of a run: a file name ("-" for standard output) and the bytes
// it is to hold. The bytes are not copied: they must outlive the call that
// writes them.
struct OutputBytes {
    std::string path;
    std::string_view bytes;
};

// Writes each output's bytes as given (binary, line ends included):
// - a regular file, or a name that does not exist yet, goes to a new
//   temporary beside it, created exclusively under a random name, which
//   replaces it only once every output is written;
// - standard output, a character device (such as /dev/null) or a FIFO is
//   written as a stream once every file is staged. A device or FIFO is
//   opened without creating anything and without waiting for a reader, so
//   a FIFO that no program reads is an error, never a hang;
// - a folder, a block device, a socket or a read-only file is refused
//   before anything is written.
// On any failure every temporary is removed, no file is replaced, error
// holds a one-line reason and the result is false. What a stream received
// before the failure cannot be taken back.
bool write_outputs(const std::vector<OutputBytes>& outputs, std::string& error);

}  // namespace companion
