// Number conversions with the exact results of the C conversions "%lf",
// "%d" and "%.Nf", built on std::from_chars/std::to_chars for speed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Reads a whole token as "%lf" reads a real: decimal or hexadecimal, with an
// optional sign, "inf", "infinity", "nan", "nan(...)" in any letter case, and
// out-of-range values as the C conversion gives them (inf, 0 or a subnormal).
// Returns false, leaving out untouched, unless the token is one number and
// nothing else.
bool parse_real_token(std::string_view token, double& out);

// Plain fixed-point text, as exchange files hold nearly all their numbers:
// an optional minus, digits, and an optional point with more digits. When
// the digits read as an integer m of at most 2^53 and there are k <= 22
// decimals, both m and 10^k are exact doubles and m / 10^k is one correctly
// rounded division: exactly what strtod gives. Reads such text from p (not
// past end) into out and returns the first character after it; returns
// null, leaving out untouched, for text of any other form or length, which
// the general conversion has to read.
const char* scan_plain_decimal(const char* p, const char* end, double& out);

// Reads a whole token as a decimal 32-bit integer with an optional sign.
// Returns false, leaving out untouched, for anything else, including values
// outside the 32-bit range.
bool parse_int_token(std::string_view token, int32_t& out);

// Leading-number conversions as atoi/strtod read a text: leading blanks are
// skipped, an optional sign and the longest valid number are taken, the rest
// is ignored, and a text without a number gives 0. Integers beyond the 32-bit
// range are clamped to it.
int32_t leading_int(const std::string& text);
double leading_real(const std::string& text);

// Longest text that append_fixed can produce for any double and 0 to 12
// decimals: "-" + 309 digits + "." + 12 decimals, or "-nan".
constexpr std::size_t kMaxFixedChars = 1 + 309 + 1 + 12;

// Appends value in fixed notation with the given number of decimals (0 to
// 12), exactly as printf's "%.Nf" would print it in the C locale.
void append_fixed(std::string& out, double value, int decimals);
char* write_fixed(char* out, double value, int decimals);

// Appends an integer as "%d" prints it.
void append_int(std::string& out, int32_t value);
