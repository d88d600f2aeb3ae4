// The companions' inputs and outputs when something else stands at their
// paths: devices, FIFOs, folders, sockets, planted temporaries, closed
// streams and file size limits. Each case runs a real binary in a fresh
// folder and must end at once, in one line, with every earlier file kept.
#include <gtest/gtest.h>

#include <csignal>
#include <ostream>
#include <string>

#include <unistd.h>

#include "platform/platform.hpp"
#include "tests/support/test_support.hpp"
#include "tools/common/input_file.hpp"

namespace {

namespace fs = std::filesystem;
using companion::InputRead;
using companion::read_input_file;
using testsupport::leftover_temporaries;
using testsupport::read_file;
using testsupport::run_shell;
using testsupport::split_lines;
using testsupport::TempDrive;
using testsupport::write_file;

const fs::path kSource(HOLECHART_SOURCE_DIR);

struct Case {
    const char* name;
    const char* program;  // "dxf", "table" or "svg"
    const char* setup;    // shell commands run in the folder just before
    const char* args;     // the program's arguments; {pipe}: a pipe without reader
    int exit_code;
    const char* says;   // part of the one line on standard error
    const char* holds;  // a shell test that must hold afterwards
};

// Named by the case, not by its bytes, in the test's report.
void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

constexpr const char* kKept = "[ \"$(cat out.dxf)\" = earlier ]";
constexpr const char* kCharted = "grep -q HoleChart out.dxf && [ \"$(cat victim)\" = victim ]";
constexpr const char* kSocket =
    "python3 -c \"import socket; socket.socket(socket.AF_UNIX).bind('sock.csv')\"";

const Case kCases[] = {
    // Outputs that are no regular file.
    {"DevNull", "dxf", "", "in.dxf /dev/null --table t.csv", 0, "charted",
     "[ -c /dev/null ] && [ -s t.csv ] && [ \"$(cat out.dxf)\" = earlier ]"},
    {"DevNullTable", "dxf", "ln -s /dev/null null.csv", "in.dxf out.dxf --table null.csv", 0,
     "charted", "[ -L null.csv ] && grep -q HoleChart out.dxf"},
    {"OneDevice", "dxf", "ln -s /dev/null null.csv", "in.dxf /dev/null --table null.csv", 2,
     "cannot be one file", kKept},
    {"FullTable", "dxf", "ln -s /dev/full full.csv", "in.dxf out.dxf --table full.csv", 1,
     "cannot write 'full.csv': No space left on device", kKept},
    {"FifoWithoutReader", "dxf", "mkfifo f.dxf", "in.dxf f.dxf", 1, "no program reads",
     "[ -p f.dxf ]"},
    {"Folder", "dxf", "mkdir d.dxf", "in.dxf d.dxf", 1, "cannot write 'd.dxf': it is a folder",
     "[ -d d.dxf ]"},
    {"Socket", "dxf", kSocket, "in.dxf out.dxf --table sock.csv", 1, "it is a socket", kKept},
    {"TableFull", "table", "", "Object.fad --origin 0 0 -o /dev/full", 1, "No space left", "true"},
    {"SvgFifo", "svg", "mkfifo f.svg", "Object.fad -o f.svg", 1, "no program reads",
     "[ -p f.svg ]"},
    // Whatever was planted at the old temporary name is neither used nor touched.
    {"HardLinkAtPart", "dxf", "ln victim out.dxf.part", "in.dxf out.dxf", 0, "charted", kCharted},
    {"SymlinkAtPart", "dxf", "ln -s victim out.dxf.part", "in.dxf out.dxf", 0, "charted", kCharted},
    {"FifoAtPart", "dxf", "mkfifo out.dxf.part", "in.dxf out.dxf", 0, "charted", kCharted},
    {"FolderAtPart", "dxf", "mkdir out.dxf.part", "in.dxf out.dxf", 0, "charted",
     "grep -q HoleChart out.dxf && [ -d out.dxf.part ]"},
    // The drawing and its table are one unit.
    {"TableIsNewOut", "dxf", "", "in.dxf new.csv --table ./new.csv", 2, "cannot be one file",
     "[ ! -e new.csv ]"},
    {"TableInMissingFolder", "dxf", "", "in.dxf out.dxf --table no/t.csv", 1,
     "cannot write 'no/t.csv'", kKept},
    {"TableToClosedOutput", "dxf", "", "in.dxf out.dxf --table - >&-", 1,
     "cannot write standard output", kKept},
    {"ClosedPipe", "dxf", "", "in.dxf - >&{pipe}", 1, "cannot write standard output: Broken pipe",
     "true"},
    {"FileSizeLimit", "dxf", "ulimit -f 8", "in.dxf out.dxf", 1, "File too large", kKept},
    // Inputs.
    {"StandardInput", "dxf", "", "- out.dxf <in.dxf", 0, "charted", "grep -q HoleChart out.dxf"},
    {"FifoInput", "dxf", "mkfifo f.dxf", "f.dxf out.dxf", 1, "'f.dxf': it is a FIFO", kKept},
    {"FolderInput", "dxf", "mkdir d.dxf", "d.dxf out.dxf", 1, "'d.dxf': it is a folder", kKept},
    {"ZeroInput", "dxf", "", "/dev/zero out.dxf", 1, "it is a character device", kKept},
    {"TableFifoInput", "table", "mkfifo f.fad", "f.fad --origin 0 0 -o t.csv", 1, "it is a FIFO",
     "[ ! -e t.csv ]"},
    {"SvgZeroInput", "svg", "", "/dev/zero -o o.svg", 1, "it is a character device",
     "[ ! -e o.svg ]"},
};

std::string binary_of(const std::string& program) {
    if (program == "table") {
        return HOLECHART_TABLE_BINARY;
    }
    if (program == "svg") {
        return FAD2SVG_BINARY;
    }
#ifdef HOLECHART_DXF_BINARY
    return HOLECHART_DXF_BINARY;
#else
    return "";
#endif
}

// The write end of a pipe whose reader has gone, open across the run.
int closed_pipe() {
    int ends[2];
    if (pipe(ends) != 0) {
        return -1;
    }
    close(ends[0]);
    return ends[1];
}

class CompanionFiles : public ::testing::TestWithParam<Case> {};

TEST_P(CompanionFiles, EndAtOnceInOneLineAndKeepEveryEarlierFile) {
    const Case& c = GetParam();
    const std::string program = binary_of(c.program);
    if (program.empty()) {
        GTEST_SKIP() << "holechart-dxf is not built here";
    }
    // The signal's default, so that only the program's own handling can save it.
    std::signal(SIGPIPE, SIG_DFL);
    TempDrive folder;
    const fs::path& root = folder.root;
    fs::copy_file(kSource / "tests" / "data" / "dxf" / "tiny.dxf", root / "in.dxf");
    fs::copy_file(kSource / "examples" / "plate" / "Object.fad", root / "Object.fad");
    write_file(root / "out.dxf", "earlier");
    write_file(root / "victim", "victim");

    const int pipe_end = closed_pipe();
    std::string args = c.args;
    const std::size_t at = args.find("{pipe}");
    if (at != std::string::npos) {
        args.replace(at, 6, std::to_string(pipe_end));
    }
    const std::string in_folder = "cd " + quote_program_path(root.string()) + " && ";
    // A guard: a run that waits on a FIFO ends with 124 instead of hanging.
    const int code = run_shell(in_folder + c.setup + "\ntimeout 20 " + quote_program_path(program) +
                               " >run.out 2>run.err " + args);
    close(pipe_end);

    EXPECT_EQ(code, c.exit_code);
    const std::string err = read_file(root / "run.err");
    EXPECT_EQ(split_lines(err).size(), 1u) << err;
    EXPECT_NE(err.find(c.says), std::string::npos) << err;
    EXPECT_EQ(run_shell(in_folder + c.holds), 0) << c.holds;
    for (const char* target : {"out.dxf", "new.csv", "t.csv", "o.svg"}) {
        EXPECT_TRUE(leftover_temporaries(root / target).empty()) << target;
    }
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

INSTANTIATE_TEST_SUITE_P(Paths, CompanionFiles, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return std::string(info.param.name);
                         });

TEST(InputFile, ReadsNoMoreThanTheCallerAllows) {
    TempDrive folder;
    const fs::path path = folder.root / "in.txt";
    write_file(path, "twenty bytes of text");
    std::string bytes;
    std::string error;
    EXPECT_EQ(read_input_file(path.string(), 19, bytes, error), InputRead::too_large);
    EXPECT_NE(error.find("more than 19 bytes"), std::string::npos) << error;
    EXPECT_EQ(bytes, "");
    EXPECT_EQ(read_input_file(path.string(), 20, bytes, error), InputRead::read);
    EXPECT_EQ(bytes, "twenty bytes of text");
}

}  // namespace
