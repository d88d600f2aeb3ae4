// The entry point that the companion programs share: their run, with
// running out of memory reported as an error of the program's own.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace companion {

// Runs body with the arguments after the program's name and returns its
// exit code. The arguments it gets are UTF-8 on every system, and so are the
// file names in them (util/native_name). When memory runs out anywhere in
// it, prints "PROGRAM: out of memory" on standard error and returns 1, the
// companions' code for a failed run.
int run_companion(const char* program,
                  const std::function<int(const std::vector<std::string>& args)>& body, int argc,
                  char** argv);

// A message of the tool's message box ("Invalid hole values in drawing...\n")
// as one line of a companion's error, without its line end.
std::string one_line(const char* message_line);

}  // namespace companion
