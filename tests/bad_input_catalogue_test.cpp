// What the tool does with the files a real front end or a damaged disk hands
// it: truncated and garbled drawings, odd line ends, absurd numbers, broken
// settings and a work folder that will not take the result. Every case runs
// the real binary in a fresh drive folder and must end in exactly one of
// three ways: a chart that reads back cleanly, a silent end without holes, or
// one message box request with the exact two lines. Nothing may crash, print
// on standard output, leave "message.dat" or a temporary result behind, or
// write "nan" or "inf" into a result.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "entity/entity_file.hpp"
#include "platform/platform.hpp"
#include "tests/support/front_end_run.hpp"
#include "tests/support/test_support.hpp"

namespace fs = std::filesystem;
using namespace testsupport;

namespace {

const std::string kFileNotFound = "[Error Code : 1109]\nFile not found...\n";
const std::string kDrawingNotFound = "[Error Code : 1119]\nFile not found...\n";
const std::string kTooFewValues =
    "[Error Code : 1109]\nInvalid chart settings: fewer than five values...\n";
const std::string kBadLayerMode =
    "[Error Code : 1109]\nInvalid chart settings: layer mode is not a number...\n";
const std::string kBadColour =
    "[Error Code : 1109]\nInvalid chart settings: layer colour is not a number...\n";
const std::string kBadLayerName =
    "[Error Code : 1109]\nInvalid chart settings: layer name must be 1 to 51 characters without "
    "control characters...\n";
const std::string kBadHoleValues = "[Error Code : 1139]\nInvalid hole values in drawing...\n";
const std::string kOutOfRange = "[Error Code : 3109]\nChart values out of range...\n";

// One circle line of the exchange format; the fields that the cases spoil
// are parameters.
std::string circle(const std::string& id, const std::string& x, const std::string& y,
                   const std::string& radius, const std::string& tag = "NO",
                   const std::string& start = "0", const std::string& end = "360",
                   const std::string& kind = "CIRCLE", const std::string& shape = "C") {
    return id + " A 0 7 ByL ByL " + kind + " 0 " + tag + " " + shape + " 0 0 0 0 " + x + " " + y +
           " " + radius + " " + start + " " + end + "\n";
}

const std::string kFirst = circle("1", "10", "40", "2.5");
const std::string kSecond = circle("2", "30", "40", "2.5");
const std::string kLineOnly = "5 B 0 7 ByL ByL LINE 0 NO L 0 0 60 0\n";
const std::string kNul(1, '\0');

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    if (at != std::string::npos) {
        text.replace(at, from.size(), to);
    }
    return text;
}

std::string all_replaced(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// Fixed pseudo-random bytes: the engine's output sequence is defined by the
// standard, so every platform sees the same garbage.
std::string garbage(std::size_t size) {
    std::mt19937 engine(20240611u);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(engine() & 0xFFu);
    }
    return bytes;
}

enum class Outcome { kChart, kSilent, kMessage };

// Where the user sees a message: in the message box, or on standard error
// when the message box program cannot be started.
enum class Route { kMessageBox, kStandardError };

constexpr int kAnyCount = -1;

struct BadInputCase {
    std::string name;
    std::string settings;
    std::string entities;
    Outcome outcome = Outcome::kChart;
    std::string message;
    // Hole numbers written at hole centres (texts justified "MC").
    int hole_marks = kAnyCount;
    std::vector<std::string> args = kSixNumbers;
    std::string drive_suffix;
    void (*prepare)(const TempDrive&) = nullptr;
    Route route = Route::kMessageBox;
    std::string must_contain;
    std::string must_not_contain;
    // Runs in the shell just before the tool (a resource limit).
    std::string shell_setup;
    // Further checks after the run (a planted victim file is unchanged).
    void (*verify)(const TempDrive&) = nullptr;
};

void PrintTo(const BadInputCase& c, std::ostream* os) {
    *os << c.name;
}

BadInputCase charted(std::string name, std::string entities, int hole_marks,
                     std::string settings = kSettings) {
    BadInputCase c;
    c.name = std::move(name);
    c.settings = std::move(settings);
    c.entities = std::move(entities);
    c.outcome = Outcome::kChart;
    c.hole_marks = hole_marks;
    return c;
}

BadInputCase silent(std::string name, std::string entities) {
    BadInputCase c = charted(std::move(name), std::move(entities), 0);
    c.outcome = Outcome::kSilent;
    return c;
}

BadInputCase reported(std::string name, std::string settings, std::string entities,
                      std::string message) {
    BadInputCase c;
    c.name = std::move(name);
    c.settings = std::move(settings);
    c.entities = std::move(entities);
    c.outcome = Outcome::kMessage;
    c.message = std::move(message);
    return c;
}

BadInputCase with_contents(BadInputCase c, std::string must_contain,
                           std::string must_not_contain = "") {
    c.must_contain = std::move(must_contain);
    c.must_not_contain = std::move(must_not_contain);
    return c;
}

BadInputCase with_prepare(BadInputCase c, void (*prepare)(const TempDrive&)) {
    c.prepare = prepare;
    return c;
}

void write_earlier_result(const TempDrive& drive) {
    write_file(drive.work / "ResultDR.fad", "earlier\n");
}

std::vector<BadInputCase> truncated_and_garbled() {
    const std::string two = kFirst + kSecond;
    return {
        // The third record ends inside its head: kind "CIR", no hole shape.
        charted("CutInsideRecordHead", two + "3 A 0 7 ByL ByL CIR", 2),
        // The last record stops after its centre: the missing radius and
        // angles keep their defaults, which still make a full circle.
        charted("CutInsideRecordBody", kFirst + "2 A 0 7 ByL ByL CIRCLE 0 NO C 0 0 0 0 30 40", 2),
        with_contents(
            charted("CutInsideNumber", kFirst + "2 A 0 7 ByL ByL CIRCLE 0 NO C 0 0 0 0 30 4", 2),
            "BC 4.000"),
        with_contents(charted("CutInsideRadius",
                              kFirst + "2 A 0 7 ByL ByL CIRCLE 0 NO C 0 0 0 0 30 40 2.", 2),
                      "%%C4.000"),
        charted("CutAfterLastRecordWithoutLineEnd", two.substr(0, two.size() - 1), 2),
        silent("BinaryGarbage", garbage(8192)),
        charted("BinaryGarbageAfterTheDrawing", kFirst + garbage(8192), 1),
        charted("NulInsideHandle", replaced(kFirst, " A ", " A" + kNul + kNul + "B "), 1),
        // A number with a NUL inside is no number: the field keeps its
        // default and the hole moves to y 0, but nothing breaks.
        with_contents(charted("NulInsideNumber", replaced(kFirst, " 40 ", " 4" + kNul + "0 "), 1),
                      "BC 0.000"),
        charted("LineOfHundredThousandBlanks",
                kFirst.substr(0, kFirst.size() - 1) + std::string(100000, ' ') + "\n" + kSecond, 2),
        charted("TextOfHundredThousandCharacters",
                "9 T 0 7 ByL ByL TEXT 0 NO T 0 0 2.5 0 BL " + std::string(100000, 'x') + "\n" + two,
                2),
        charted("MillionCharacterHandle",
                replaced(kFirst, " A ", " " + std::string(1000000, 'h') + " ") + kSecond, 2),
        reported("MillionDigitRadius", kSettings,
                 circle("1", "10", "40", std::string(1000000, '1')) + kSecond, kBadHoleValues),
        with_contents(
            charted("MillionLeadingZerosInRadius",
                    circle("1", "10", "40", std::string(1000000, '0') + "2.5") + kSecond, 2),
            "%%C5.000"),
        charted("CrLfLineEnds", all_replaced(two, "\n", "\r\n"), 2),
        silent("BlankLinesOnly", "\n\n\r\n  \t \n"),
    };
}

std::vector<BadInputCase> odd_numbers() {
    return {
        reported("NanCentre", kSettings, circle("1", "nan", "40", "2.5"), kBadHoleValues),
        // Found before the holes are ordered: a centre that is not a number
        // would join its neighbour's position and renumber the chart.
        reported("NanCentreBesideAHole", kSettings, kFirst + circle("2", "nan", "40", "2.5"),
                 kBadHoleValues),
        reported("CentreBeyondDoubleRange", kSettings, circle("1", "10", "1e999", "2.5"),
                 kBadHoleValues),
        reported("MinusInfinityCentre", kSettings, circle("1", "10", "-inf", "2.5"),
                 kBadHoleValues),
        reported("NanStartAngleOnCircle", kSettings, circle("1", "10", "40", "2.5", "NO", "nan"),
                 kBadHoleValues),
        reported("InfiniteDepthInTag", kSettings, circle("1", "10", "40", "2.5", "3_1e999"),
                 kBadHoleValues),
        // A sweep that is not a number is not more than 180 degrees.
        silent("NanEndAngleOnArc", circle("1", "10", "40", "2.5", "NO", "0", "nan", "ARC", "A")),
        // Only holes reach the chart; a spoilt line does not.
        charted("NanAndInfinityInALine",
                "5 B 0 7 ByL ByL LINE nan NO L nan inf 1e999 -nan\n" + kFirst, 1),
        charted("NanWeightOnAHole", replaced(kFirst, "CIRCLE 0", "CIRCLE nan"), 1),
        with_contents(charted("NegativeZeroCentre", circle("1", "-0", "-0", "2.5"), 1), "%%C5.000"),
        with_contents(charted("RadiusBelowDoubleRange", circle("1", "10", "40", "1e-400"), 1),
                      "%%C0.000"),
        with_contents(charted("NegativeRadius", circle("1", "10", "40", "-2.5"), 1), "%%C-5.000"),
    };
}

std::vector<BadInputCase> odd_holes() {
    std::string identical;
    for (int i = 1; i <= 5000; ++i) {
        identical += circle(std::to_string(i), "10", "40", "2.5");
    }
    return {
        silent("OnlyLinesAndTexts", kLineOnly + "6 C 0 7 ByL ByL TEXT 0 NO T 0 0 2.5 0 BL Note\n"),
        silent("ArcOfExactly180Degrees",
               circle("1", "10", "40", "2.5", "NO", "90", "270", "ARC", "A")),
        charted("ArcOfJustOver180Degrees",
                circle("1", "10", "40", "2.5", "NO", "90", "270.5", "ARC", "A") + kSecond, 2),
        with_contents(charted("FiveThousandCirclesAtOneCentre", identical, 1), "%%C5.000"),
        charted("TagOf300Digits", circle("1", "10", "40", "2.5", "2_" + std::string(298, '7')), 1),
        with_contents(
            charted("TagOf300Letters", circle("1", "10", "40", "2.5", std::string(300, 't')), 1),
            "%%C5"),
        with_contents(charted("FormatCharactersInTagStyleAndHandle",
                              replaced(circle("1", "10", "40", "2.5", "%s%n_%n%s"), "A 0 7 ByL ByL",
                                       "%n%s 0 7 %s%s H%n%p%s"),
                              1),
                      " B_%%C5\n"),
        // An entity number of 0 is a hole like any other: it leads its type
        // block, and as the first position it draws the header.
        with_contents(charted("EntityNumberZeroHoleOfAUniqueType",
                              circle("0", "10", "40", "2.5") + circle("2", "30", "40", "4"), 2),
                      " BL NO\n"),
        // 352 degrees lies within 10 of both 360 and 344: listed once.
        charted("ChainOfSweeps",
                circle("1", "10", "40", "2.5") +
                    circle("2", "30", "40", "2.5", "NO", "0", "352", "ARC", "A") +
                    circle("3", "50", "40", "2.5", "NO", "0", "344", "ARC", "A"),
                3),
        // A type code beyond four decimals still lists the hole.
        charted("TypeCodeOutOfRange", circle("1", "10", "40", "2.5", "99999999999_0"), 1),
    };
}

void make_temporary_a_folder(const TempDrive& drive) {
    write_earlier_result(drive);
    fs::create_directory(drive.work / "ResultDR.fad.tmp");
}

std::vector<BadInputCase> broken_settings_and_folders() {
    const std::string layer51(51, 'L');
    return {
        reported("EmptySettings", "", kFirst, kFileNotFound),
        reported("SettingsOfBlanksOnly", " \n\t\n", kFirst, kTooFewValues),
        reported("SettingsMissingValues", "1 HoleChart 3\n", kFirst, kTooFewValues),
        reported("LayerModeNotANumber", "one HoleChart 3 N 2.5\n", kFirst, kBadLayerMode),
        charted("SettingsWithByteOrderMark", kFirst, 1, "\xEF\xBB\xBF" + kSettings),
        reported("ColourNotANumber", "0 Holes red N 2.5\n", kFirst, kBadColour),
        reported("DecimalCommaTextHeight", "1 HoleChart 3 N 2,5\n", kFirst, kBadTextHeight),
        reported("ZeroTextHeight", "1 HoleChart 3 N 0\n", kFirst, kBadTextHeight),
        reported("NanTextHeight", "1 HoleChart 3 N nan\n", kFirst, kBadTextHeight),
        charted("ExtraSettingsValues", kFirst, 1, "1 HoleChart 3 N 2.5 7 8 9\nmore\n"),
        charted("CrLfSettings", kFirst, 1, "1 HoleChart 3 N 2.5\r\n"),
        // A layer name the chart is moved to must fit the records whole.
        reported("LayerNameLongerThanTheFieldIsRefused", "0 " + std::string(52, 'L') + " 5 N 2.5\n",
                 kFirst, kBadLayerName),
        with_contents(charted("LayerNameOf51Characters", kFirst, 1, "0 " + layer51 + " 5 N 2.5\n"),
                      " " + layer51 + " 5 "),
        reported("LayerNameOfMillionCharactersIsRefused",
                 "2 " + std::string(1000000, 'L') + " 5 N 2.5\n", kFirst, kBadLayerName),
        reported("LayerNameWithNulIsRefused", "0 Hole" + kNul + "Chart 5 N 2.5\n", kFirst,
                 kBadLayerName),
        reported("LayerNameStartingWithNulIsRefused", "0 " + kNul + "Hole 5 N 2.5\n", kFirst,
                 kBadLayerName),
        reported("LayerNameWithControlCharacterIsRefused", "0 Hole\x01 5 N 2.5\n", kFirst,
                 kBadLayerName),
        // Layer mode 1 keeps the chart's own layer: the name is not used.
        with_contents(charted("LongLayerNameUnusedInLayerModeOne", kFirst, 1,
                              "1 " + std::string(300, 'L') + " 5 N 2.5\n"),
                      " HoleChart 3 "),
        reported("TinyTextHeightIsRefused", "1 HoleChart 3 N 1e-13\n", kFirst, kBadTextHeight),
        reported("TextHeightBeyondAMillionIsRefused", "1 HoleChart 3 N 2e6\n", kFirst,
                 kBadTextHeight),
        // Only "Y" drops the signs; a long word of Y's is another word.
        with_contents(charted("AbsoluteFlagOf300Characters", circle("1", "-10", "-40", "2.5"), 1,
                              "1 HoleChart 3 " + std::string(300, 'Y') + " 2.5\n"),
                      "BC -10.000"),
        with_prepare(reported("DrawingIsAFolder", kSettings, "", kDrawingNotFound),
                     [](const TempDrive& drive) {
                         fs::remove(drive.work / "Object.fad");
                         fs::create_directory(drive.work / "Object.fad");
                     }),
        // The temporary result has a new name of its own in every run.
        with_prepare(charted("FolderAtTheOldTemporaryNameIsNoObstacle", kFirst, 1),
                     make_temporary_a_folder),
        with_prepare(reported("ResultIsAFolder", kSettings, kFirst, kCannotWrite),
                     [](const TempDrive& drive) {
                         fs::create_directories(drive.work / "ResultDR.fad" / "inside");
                     }),
        with_prepare(reported("ReadOnlyResult", kSettings, kFirst, kCannotWrite),
                     [](const TempDrive& drive) {
                         write_earlier_result(drive);
                         fs::permissions(drive.work / "ResultDR.fad", fs::perms::owner_read |
                                                                          fs::perms::group_read |
                                                                          fs::perms::others_read);
                     }),
        // A temporary file left by an interrupted run is replaced.
        with_prepare(
            charted("StaleTemporaryResult", kFirst, 1),
            [](const TempDrive& drive) { write_file(drive.work / "ResultDR.fad.tmp", "stale\n"); }),
        [] {
            BadInputCase c = charted("DriveWithBlanksAndShellCharacters", kFirst + kSecond, 2);
            c.drive_suffix = " a b 'q' \"d\" $HOME;`false`&|*?(";
            return c;
        }(),
        [] {
            BadInputCase c =
                reported("ReportFromDriveWithShellCharacters", kSettings, "", kDrawingNotFound);
            c.drive_suffix = " $(false) ;exit 3; #";
            return c;
        }(),
        [] {
            BadInputCase c = reported("MissingMessageBoxProgram", "", kFirst, kFileNotFound);
            c.prepare = [](const TempDrive& drive) { fs::remove(drive.link / "info_msgbox.exe"); };
            c.route = Route::kStandardError;
            return c;
        }(),
        [] {
            BadInputCase c =
                reported("MessageBoxProgramNotExecutable", kSettings, "", kDrawingNotFound);
            c.prepare = [](const TempDrive& drive) {
                fs::permissions(
                    drive.link / "info_msgbox.exe",
                    fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                    fs::perm_options::remove);
            };
            c.route = Route::kStandardError;
            return c;
        }(),
    };
}

std::vector<BadInputCase> encodings_and_extremes() {
    const std::string two = kFirst + kSecond;
    // Ten concentric circles whose position key passes 255 characters: the
    // type table is made from the holes themselves, so all ten keep their
    // labels, the tenth too, and none reads as a diameter of 0.
    std::string concentric;
    for (int r = 10; r < 20; ++r) {
        concentric +=
            circle(std::to_string(r), "10", "40", std::to_string(r), r < 13 ? "3_10" : "NO");
    }
    return {
        // A lone CR is no line end, so the whole drawing counts as one
        // record and only the first circle is read.
        charted("CrOnlyLineEndsMakeOneRecord", all_replaced(two, "\n", "\r"), 1),
        // Text saved by Windows tools may begin with a UTF-8 byte order mark;
        // it must not spoil the first entity number, which would cost that
        // hole its place in the chart.
        charted("Utf8ByteOrderMark", "\xEF\xBB\xBF" + kFirst, 1),
        with_contents(charted("TenConcentricHolesAllLabelled", concentric, 1), "%%C38.000",
                      "%%C0.000"),
        // The diameter's 301 digits fit no label; the chart must not print
        // a wrong one instead.
        reported("HugeRadius", kSettings, circle("1", "10", "40", "1e300"), kBadHoleValues),
        // Diameters are described up to the chart's range of 10^15.
        with_contents(charted("DiameterAtTheChartRange", circle("1", "10", "40", "5e14"), 1),
                      "%%C1000000000000000.000"),
        reported("DiameterJustBeyondTheChartRange", kSettings,
                 circle("1", "10", "40", "5.000001e14"), kBadHoleValues),
        // Coordinates this large would make result lines longer than the
        // 510 characters that a reader of the format takes as one line.
        reported("HoleFarOut", kSettings, circle("1", "1e300", "-1e300", "2.5"), kOutOfRange),
        reported("HugeTextHeightIsRefused", "1 HoleChart 3 N 1e200\n", kFirst, kBadTextHeight),
        [] {
            BadInputCase c = reported("WindowFarOut", kSettings, kFirst, kOutOfRange);
            c.args = {"1e300", "1e300", "1e300", "1e300", "0", "0"};
            return c;
        }(),
    };
}

const std::string kVictimBytes(32000, 'v');

// A file outside the work folder that a link planted there points at.
fs::path victim_of(const TempDrive& drive) {
    return drive.root / "victim";
}

void plant_fifo(const fs::path& at) {
    std::error_code ec;
    fs::remove(at, ec);
    ASSERT_EQ(mkfifo(at.c_str(), 0600), 0) << at;
}

void victim_is_untouched(const TempDrive& drive) {
    EXPECT_EQ(read_file(victim_of(drive)), kVictimBytes);
}

BadInputCase with_verify(BadInputCase c, void (*verify)(const TempDrive&)) {
    c.verify = verify;
    return c;
}

BadInputCase via_standard_error(BadInputCase c) {
    c.route = Route::kStandardError;
    return c;
}

// What a hostile or busy shared work folder holds: planted links, FIFOs and
// devices in the place of the tool's files, and a message box that dies.
std::vector<BadInputCase> hostile_folders() {
    return {
        with_verify(
            with_prepare(reported("MessageFileLinkedToAVictim", kSettings, "", kDrawingNotFound),
                         [](const TempDrive& drive) {
                             write_file(victim_of(drive), kVictimBytes);
                             fs::create_symlink(victim_of(drive), drive.work / "message.dat");
                         }),
            victim_is_untouched),
        with_verify(with_prepare(
                        reported("MessageFileHardLinkedToAVictim", kSettings, "", kDrawingNotFound),
                        [](const TempDrive& drive) {
                            write_file(victim_of(drive), kVictimBytes);
                            fs::create_hard_link(victim_of(drive), drive.work / "message.dat");
                        }),
                    victim_is_untouched),
        with_verify(
            via_standard_error(with_prepare(
                reported("MessageFileIsAnEmptyFolder", kSettings, "", kDrawingNotFound),
                [](const TempDrive& drive) { fs::create_directory(drive.work / "message.dat"); })),
            [](const TempDrive& drive) {
                EXPECT_TRUE(fs::is_directory(drive.work / "message.dat"));
            }),
        via_standard_error(
            with_prepare(reported("MessageFileIsAFifo", kSettings, "", kDrawingNotFound),
                         [](const TempDrive& drive) { plant_fifo(drive.work / "message.dat"); })),
        with_prepare(reported("DrawingIsAFifo", kSettings, "", kDrawingNotFound),
                     [](const TempDrive& drive) { plant_fifo(drive.work / "Object.fad"); }),
        with_prepare(reported("SettingsIsAFifo", "", kFirst, kFileNotFound),
                     [](const TempDrive& drive) { plant_fifo(drive.work / "infoHoleTable.dat"); }),
        with_prepare(reported("DrawingLinksToDevZero", kSettings, "", kDrawingNotFound),
                     [](const TempDrive& drive) {
                         fs::remove(drive.work / "Object.fad");
                         fs::create_symlink("/dev/zero", drive.work / "Object.fad");
                     }),
        with_prepare(reported("DrawingLinksToDevUrandom", kSettings, "", kDrawingNotFound),
                     [](const TempDrive& drive) {
                         fs::remove(drive.work / "Object.fad");
                         fs::create_symlink("/dev/urandom", drive.work / "Object.fad");
                     }),
        with_prepare(charted("StaleTemporaryResultIsAFifo", kFirst, 1),
                     [](const TempDrive& drive) { plant_fifo(drive.work / "ResultDR.fad.tmp"); }),
        via_standard_error(
            with_prepare(reported("MessageBoxKilledBySignal", kSettings, "", kDrawingNotFound),
                         [](const TempDrive& drive) {
                             const fs::path program = drive.link / "info_msgbox.exe";
                             write_file(program, "#!/bin/sh\nkill -KILL $$\n");
                             fs::permissions(program, fs::perms::owner_all);
                         })),
        // An endless token is read past, not held: the name is no name.
        reported("EndlessTokenInSettings", "0 " + std::string((1u << 24) + 100, 'L') + " 5 N 2.5\n",
                 kFirst, kBadLayerName),
    };
}

// Tags and line styles with the underscores and commas that drafters and
// CAD programs put into them: each hole keeps its own diameter and depth,
// and no hole is made up from a piece of text.
std::vector<BadInputCase> hole_texts() {
    return {
        with_contents(
            charted("LineStyleWithUnderscore", replaced(kFirst, " ByL ByL ", " ByL ISO_02 "), 1),
            "%%C5.000", "%%C0.000"),
        with_contents(
            charted("CadLineStyleName", replaced(kFirst, " ByL ByL ", " ByL ACAD_ISO02W100 "), 1),
            "%%C5.000", "%%C0.000"),
        with_contents(charted("DepthWithDecimalComma", circle("1", "10", "40", "2.5", "2_12,5"), 1),
                      "%%C5.00_X_12.50", "%%C0.00"),
    };
}

std::vector<BadInputCase> all_cases() {
    std::vector<BadInputCase> cases;
    for (auto group :
         {truncated_and_garbled(), odd_numbers(), odd_holes(), broken_settings_and_folders(),
          encodings_and_extremes(), hostile_folders(), hole_texts()}) {
        cases.insert(cases.end(), group.begin(), group.end());
    }
    return cases;
}

// The state of a path before the run, to tell whether the run changed it.
struct PathState {
    fs::file_type type = fs::file_type::not_found;
    std::string bytes;
};

PathState state_of(const fs::path& path) {
    std::error_code ec;
    PathState state;
    state.type = fs::symlink_status(path, ec).type();
    if (state.type == fs::file_type::regular) {
        state.bytes = read_file(path);
    }
    return state;
}

std::string lower_case(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

int count_hole_marks(const std::vector<std::string>& lines) {
    int marks = 0;
    for (const std::string& line : lines) {
        const std::vector<std::string> t = split_words(line);
        if (t.size() > 14 && t[6] == "TEXT" && t[14] == "MC") {
            ++marks;
        }
    }
    return marks;
}

void expect_sound_chart(const TempDrive& drive, const BadInputCase& c) {
    const fs::path result = drive.work / "ResultDR.fad";
    ASSERT_TRUE(fs::is_regular_file(result));
    const std::string bytes = drive.result();
    const std::string lower = lower_case(bytes);
    EXPECT_EQ(lower.find("nan"), std::string::npos);
    EXPECT_EQ(lower.find("inf"), std::string::npos);

    // The front end reads the result with the same format: one record per
    // line, and writing the records again gives the same bytes.
    const std::vector<std::string> lines = split_lines(bytes);
    EntityList list;
    int count = 0;
    ASSERT_TRUE(read_entity_file(result.string().c_str(), list, count));
    EXPECT_EQ(count, static_cast<int>(lines.size()));
    const fs::path again = drive.root / "again.fad";
    ASSERT_TRUE(write_entity_file(list, count, again.string().c_str()));
    EXPECT_EQ(read_file(again), bytes);

    if (c.hole_marks != kAnyCount) {
        EXPECT_EQ(count_hole_marks(lines), c.hole_marks);
    }
    if (!c.must_contain.empty()) {
        EXPECT_NE(bytes.find(c.must_contain), std::string::npos) << c.must_contain;
    }
    if (!c.must_not_contain.empty()) {
        EXPECT_EQ(bytes.find(c.must_not_contain), std::string::npos) << c.must_not_contain;
    }
}

class BadInputCatalogueTest : public ::testing::TestWithParam<BadInputCase> {};

TEST_P(BadInputCatalogueTest, EndsInAChartASilentEndOrOneMessage) {
    const BadInputCase& c = GetParam();
    TempDrive drive(c.drive_suffix);
    drive.write_settings(c.settings);
    drive.write_entities(c.entities);
    if (c.prepare != nullptr) {
        c.prepare(drive);
    }
    const fs::path result = drive.work / "ResultDR.fad";
    const PathState before = state_of(result);

    const auto run = run_holechart(drive, c.args, c.shell_setup);

    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.out, "");
    // No message file is left; a folder or FIFO planted in its place stays.
    const fs::file_status message = fs::symlink_status(drive.work / "message.dat");
    EXPECT_FALSE(fs::is_regular_file(message) || fs::is_symlink(message));
    EXPECT_TRUE(leftover_temporaries(drive.work / "ResultDR.fad").empty());
    if (c.verify != nullptr) {
        c.verify(drive);
    }

    switch (c.outcome) {
        case Outcome::kChart:
            EXPECT_EQ(drive.seen_messages(), "");
            EXPECT_EQ(run.err, "");
            expect_sound_chart(drive, c);
            break;
        case Outcome::kSilent:
        case Outcome::kMessage: {
            const std::string expected = c.outcome == Outcome::kMessage ? c.message : "";
            if (c.route == Route::kMessageBox) {
                EXPECT_EQ(drive.seen_messages(), expected);
                EXPECT_EQ(run.err, "");
            } else {
                EXPECT_EQ(drive.seen_messages(), "");
                // The shell's own complaint about the program comes first.
                ASSERT_GE(run.err.size(), expected.size());
                EXPECT_EQ(run.err.substr(run.err.size() - expected.size()), expected);
            }
            // Whatever stood at the result's place is left as it was.
            const PathState after = state_of(result);
            EXPECT_TRUE(after.type == before.type && after.bytes == before.bytes)
                << "the run changed what stood at ResultDR.fad";
            break;
        }
    }
}

std::string case_name(const ::testing::TestParamInfo<BadInputCase>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Catalogue, BadInputCatalogueTest, ::testing::ValuesIn(all_cases()),
                         case_name);

// Runs that share a work folder at the same time, as on a busy workstation:
// each result file is one run's complete result, and each message box shows
// its own run's message.
TEST(ConcurrentRuns, EveryResultCompleteAndEveryMessageItsOwn) {
    TempDrive drive;
    const fs::path example = fs::path(HOLECHART_SOURCE_DIR) / "examples" / "plate";
    drive.write_settings(read_file(example / "infoHoleTable.dat"));
    drive.write_entities(read_file(example / "Object.fad"));
    const std::vector<std::string> window_a = split_words(read_file(example / "arguments.txt"));
    const std::vector<std::string> window_b = {"0", "0", "600", "400", "0", "0"};
    // What each window gives when run alone.
    std::vector<std::string> alone;
    for (const auto& args : {window_a, window_b}) {
        ASSERT_EQ(run_holechart(drive, args).exit_code, 0);
        alone.push_back(drive.result());
    }
    ASSERT_NE(alone[0], alone[1]);

    const std::string too_few = "[Error Code : 2109]\nToo few arguments...\n";
    const std::string invalid = "[Error Code : 2119]\nInvalid arguments...\n";
    const std::vector<std::vector<std::string>> kinds = {
        window_a, window_b, {"1", "2"}, {"nan", "0", "1", "1", "0", "0"}};
    constexpr int kEach = 10;
    std::string command =
        "cd " + quote_program_path(drive.root.string()) +
        " || exit 1; export HOLECHART_DRIVE_C=" + quote_program_path(drive.root.string()) + "; ";
    for (int i = 0; i < kEach * 4; ++i) {
        command += "{ " + quote_program_path(HOLECHART_BINARY);
        for (const std::string& arg : kinds[static_cast<std::size_t>(i % 4)]) {
            command += " " + quote_program_path(arg);
        }
        command +=
            " >out." + std::to_string(i) + " 2>&1; echo $? >rc." + std::to_string(i) + "; } & ";
    }
    command += "wait";
    ASSERT_EQ(testsupport::run_shell(command), 0);

    for (int i = 0; i < kEach * 4; ++i) {
        EXPECT_EQ(read_file(drive.root / ("rc." + std::to_string(i))), "0\n") << i;
        EXPECT_EQ(read_file(drive.root / ("out." + std::to_string(i))), "") << i;
    }
    const std::string result = drive.result();
    EXPECT_TRUE(result == alone[0] || result == alone[1]);
    EXPECT_TRUE(leftover_temporaries(drive.work / "ResultDR.fad").empty());
    // Every message whole and in the numbers asked for.
    const std::vector<std::string> seen = split_lines(drive.seen_messages());
    ASSERT_EQ(seen.size(), 2u * 2 * kEach);
    int too_few_seen = 0;
    int invalid_seen = 0;
    for (std::size_t k = 0; k < seen.size(); k += 2) {
        const std::string message = seen[k] + "\n" + seen[k + 1] + "\n";
        too_few_seen += message == too_few ? 1 : 0;
        invalid_seen += message == invalid ? 1 : 0;
    }
    EXPECT_EQ(too_few_seen, kEach);
    EXPECT_EQ(invalid_seen, kEach);
}

}  // namespace
