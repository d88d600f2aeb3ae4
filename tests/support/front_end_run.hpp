// What the end-to-end runs of holechart share: the command line, settings
// and drawing of a plain run that charts one hole, and the reports the user
// is shown when a run fails.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

// A window from (100, 100) to (200, 200) and the origin (0, 0).
inline const std::vector<std::string> kSixNumbers = {"100", "100", "200", "200", "0", "0"};
// Layer mode 1 (the chart's own layer), the chart layer and colour, plain
// coordinates, text height 2.5.
inline const std::string kSettings = "1 HoleChart 3 N 2.5\n";
// One circle of radius 2.5 at (10, 40): one hole.
inline const std::string kOneCircle = "1 A 0 7 ByL ByL CIRCLE 0 NO C 0 0 0 0 10 40 2.5 0 360\n";

inline const std::string kBadTextHeight =
    "[Error Code : 1109]\nInvalid chart settings: text height must be a number from 0.000001 to "
    "1000000...\n";
inline const std::string kCannotWrite = "[Error Code : 1129]\nCannot write the result file...\n";

}  // namespace testsupport
