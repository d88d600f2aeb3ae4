// What the user is told when a run cannot complete: the two lines of the
// message box request.
#pragma once

struct RunError {
    const char* code_line;
    const char* message_line;
};

inline constexpr RunError kSettingsMissing{"[Error Code : 1109]\n", "File not found...\n"};
inline constexpr RunError kEntitiesMissing{"[Error Code : 1119]\n", "File not found...\n"};
inline constexpr RunError kTooFewArguments{"[Error Code : 2109]\n", "Too few arguments...\n"};
inline constexpr RunError kInvalidArguments{"[Error Code : 2119]\n", "Invalid arguments...\n"};
inline constexpr RunError kCannotWriteResult{"[Error Code : 1129]\n",
                                             "Cannot write the result file...\n"};
inline constexpr RunError kInvalidHoleValues{"[Error Code : 1139]\n",
                                             "Invalid hole values in drawing...\n"};
inline constexpr RunError kChartOutOfRange{"[Error Code : 3109]\n",
                                           "Chart values out of range...\n"};
