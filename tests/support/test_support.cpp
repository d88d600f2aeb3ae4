#include "tests/support/test_support.hpp"

#ifdef _WIN32
#include <process.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/platform.hpp"
#include "util/native_name.hpp"

namespace testsupport {

std::string read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string read_text_file(const fs::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void write_file(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

namespace {

long process_id() {
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<long>(::getpid());
#endif
}

fs::path unique_folder(const std::string& suffix) {
    static std::atomic<int> counter{0};
    const fs::path base = fs::temp_directory_path();
    for (;;) {
        const fs::path candidate = base / ("holechart-test-" + std::to_string(process_id()) + "-" +
                                           std::to_string(counter.fetch_add(1)) + suffix);
        std::error_code ec;
        if (fs::create_directory(candidate, ec)) {
            return candidate;
        }
    }
}

}  // namespace

TempDrive::TempDrive(const std::string& name_suffix)
    : root(unique_folder(name_suffix)), work(root / "ZEP" / "work"), link(root / "ZEP" / "Link") {
    fs::create_directories(work);
    fs::create_directories(link);
    install_capture_msgbox();
}

TempDrive::~TempDrive() {
    std::error_code ec;
    // Restore write permission anywhere a test took it away, then remove.
    for (auto it = fs::recursive_directory_iterator(root, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::remove_all(root, ec);
}

void TempDrive::install_capture_msgbox() const {
    fs::copy_file(CAPTURE_MSGBOX_BINARY, link / "info_msgbox.exe",
                  fs::copy_options::overwrite_existing);
}

void TempDrive::install_shipped_msgbox() const {
    fs::copy_file(INFO_MSGBOX_BINARY, link / "info_msgbox.exe",
                  fs::copy_options::overwrite_existing);
}

std::string TempDrive::seen_messages() const {
    const fs::path seen = work / "message.seen";
    return fs::exists(seen) ? read_file(seen) : std::string();
}

void TempDrive::write_settings(const std::string& text) const {
    write_file(work / "infoHoleTable.dat", text);
}

void TempDrive::write_entities(const std::string& text) const {
    write_file(work / "Object.fad", text);
}

bool TempDrive::has_result() const {
    return fs::exists(work / "ResultDR.fad");
}

std::string TempDrive::result() const {
    return read_file(work / "ResultDR.fad");
}

int run_shell(const std::string& command) {
#ifdef _WIN32
    // The command reaches cmd.exe in UTF-16, names outside ASCII intact;
    // cmd.exe hands back the exit code itself.
    return _wsystem(wide_text(command).c_str());
#else
    const int status = std::system(command.c_str());
    return (status != -1 && WIFEXITED(status)) ? WEXITSTATUS(status) : -1;
#endif
}

namespace {

// One word of a composite shell command. On Windows the tool's own quoting
// is for a command that is one path alone.
std::string shell_word(const std::string& text) {
#ifdef _WIN32
    return "\"" + text + "\"";
#else
    return quote_program_path(text);
#endif
}

}  // namespace

RunResult run_program(const fs::path& folder, const std::string& program,
                      const std::vector<std::string>& args, const std::string& shell_setup) {
    const fs::path out_path = folder / "run.stdout";
    const fs::path err_path = folder / "run.stderr";
#ifdef _WIN32
    // cmd.exe changes the drive only when asked to.
    std::string command =
        "cd /d " + shell_word(utf8_name(folder)) + " && " + shell_setup + " " + shell_word(program);
#else
    std::string command =
        "cd " + shell_word(utf8_name(folder)) + " && " + shell_setup + " " + shell_word(program);
#endif
    for (const std::string& arg : args) {
        command += " " + shell_word(arg);
    }
    command += " >" + shell_word(utf8_name(out_path)) + " 2>" + shell_word(utf8_name(err_path));
    RunResult result;
    result.exit_code = run_shell(command);
    result.out = read_file(out_path);
    result.err = read_file(err_path);
    std::error_code ec;
    fs::remove(out_path, ec);
    fs::remove(err_path, ec);
    return result;
}

RunResult run_holechart(const TempDrive& drive, const std::vector<std::string>& args,
                        const std::string& shell_setup) {
#ifdef _WIN32
    // The folders are fixed on Windows: the drive is C: itself.
    return run_program(drive.root, HOLECHART_BINARY, args, shell_setup);
#else
    return run_program(
        drive.root, HOLECHART_BINARY, args,
        shell_setup + " HOLECHART_DRIVE_C=" + quote_program_path(drive.root.string()));
#endif
}

bool address_space_can_be_limited() {
#if defined(__SANITIZE_ADDRESS__)
    return false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return false;
#endif
#endif
    // Valgrind preloads its own libraries into every program it runs.
    const char* preload = std::getenv("LD_PRELOAD");
    return preload == nullptr || std::strstr(preload, "vgpreload") == nullptr;
}

std::vector<std::string> leftover_temporaries(const fs::path& target) {
    const std::string prefix = target.filename().string() + ".";
    const std::string suffix = ".tmp";
    std::vector<std::string> names;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(target.parent_path(), ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() == prefix.size() + 10 + suffix.size() && name.rfind(prefix, 0) == 0 &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
            names.push_back(name);
        }
    }
    return names;
}

std::vector<std::string> split_words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    std::string word;
    while (in >> word) {
        words.push_back(word);
    }
    return words;
}

std::string with_crlf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') {
            out.push_back('\r');
        }
        out.push_back(c);
    }
    return out;
}

std::vector<std::string> split_lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string current;
    for (char c : text) {
        if (c == '\n') {
            lines.push_back(current);
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    if (!current.empty()) {
        lines.push_back(current);
    }
    return lines;
}

}  // namespace testsupport
