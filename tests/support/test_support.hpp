// Helpers shared by the tests: a fresh drive folder per test, running the
// real binary in it as the front end does, and small file helpers.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

namespace fs = std::filesystem;

std::string read_file(const fs::path& path);
void write_file(const fs::path& path, const std::string& bytes);
// The file as a text-mode reader sees it: on Windows each CR LF is one LF.
std::string read_text_file(const fs::path& path);

// A fresh temporary folder standing for drive C:, with ZEP/work and ZEP/Link,
// removed again when the object goes. The name may be given a suffix with
// blanks or shell characters to test quoting.
struct TempDrive {
    explicit TempDrive(const std::string& name_suffix = "");
    ~TempDrive();
    TempDrive(const TempDrive&) = delete;
    TempDrive& operator=(const TempDrive&) = delete;

    fs::path root;
    fs::path work;
    fs::path link;

    // Puts a message box program into the link folder: the capturing test
    // stand-in (default) or the shipped one.
    void install_capture_msgbox() const;
    void install_shipped_msgbox() const;

    // What the capturing stand-in was shown, or "" when it never ran.
    std::string seen_messages() const;

    void write_settings(const std::string& text) const;
    void write_entities(const std::string& text) const;
    bool has_result() const;
    std::string result() const;
};

struct RunResult {
    int exit_code = -1;
    std::string out;
    std::string err;
};

// Runs a program with the arguments (UTF-8) through the shell, in folder as
// working directory, capturing its standard output and error. shell_setup
// runs in the same shell just before it (a resource limit, an environment
// variable).
RunResult run_program(const fs::path& folder, const std::string& program,
                      const std::vector<std::string>& args, const std::string& shell_setup = "");

// The exit code of a shell command, or -1 when it did not exit normally.
int run_shell(const std::string& command);

// Runs the built holechart with HOLECHART_DRIVE_C set to the drive, in the
// drive's root folder as working directory.
// shell_setup runs in the same shell just before the tool, e.g. to set a
// resource limit.
RunResult run_holechart(const TempDrive& drive, const std::vector<std::string>& args,
                        const std::string& shell_setup = "");

// Whether a program started from here can run under a `ulimit -v` of some
// 100 MB. Not under AddressSanitizer (a build option) or Valgrind (which
// runs the tests and their children): both reserve far more address space.
bool address_space_can_be_limited();

// The temporary files of a write to target that are left in its folder:
// names of target's name, a dot, ten characters and ".tmp".
std::vector<std::string> leftover_temporaries(const fs::path& target);

// Splits a text into its white-space separated words.
std::vector<std::string> split_words(const std::string& text);

// Splits a text into its lines (without the line ends).
std::vector<std::string> split_lines(const std::string& text);

// The text with every line feed preceded by a carriage return, as Windows
// programs write text.
std::string with_crlf(const std::string& text);

}  // namespace testsupport
