// The values of DXF group code pairs as the bridge reads them. A value that
// the bridge uses must be what its group code says it is: a number that is
// no number is a damaged file, not a silent 0.
#pragma once

#include <string>
#include <string_view>

namespace holechart_dxf {

// Upper-cases ASCII letters, as DXF compares names.
std::string dxf_upper(std::string_view text);

// A real: decimal text as C reads it, a comma taken for the decimal point
// (some writers use their locale's). False for anything else, and for a
// value that is no finite number.
bool real_value(std::string_view text, double& value);

// An integer: decimal digits with an optional sign; a fractional part, which
// some writers give flags and counts, is dropped. Beyond the range of int
// the value is held at +-2147483647, so that its negation is an int too.
bool int_value(std::string_view text, int& value);

// Whether a value has the form its group code asks for: decimal digits for
// the integer codes, a decimal number for the real ones, anything for the
// others. Every value is checked, used or not: another reader converts each
// by its code and refuses the whole file for one that does not convert, so
// a drawing that passes here must not hold one.
bool value_fits_code(int code, std::string_view text);

// A handle: hexadecimal digits of a number of at most 64 bits.
bool handle_value(std::string_view text, unsigned long long& value);

// A value as a one-line message shows it: at most 40 characters, control
// characters as '?'.
std::string shown_value(std::string_view text);

}  // namespace holechart_dxf
