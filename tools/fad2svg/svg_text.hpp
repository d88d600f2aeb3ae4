// Turning entity texts, layer names and numbers into SVG text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace fad2svg {

// Replaces the CAD control codes of a drawing text: %%C (diameter) by Ø,
// %%D (degrees) by °, %%P (plus/minus) by ±, in either letter case; %%% by %;
// the underline and overline switches %%U and %%O are dropped.
std::string expand_cad_codes(std::string_view text);

// Valid UTF-8 that XML accepts: every byte that does not start a well-formed
// sequence, and every control character other than the tab (C0, DEL, C1,
// U+FFFE, U+FFFF), becomes U+FFFD.
std::string clean_utf8(std::string_view bytes);

// Appends text with &, <, >, " and ' written as entity references. The text
// must already be clean (see clean_utf8).
void append_escaped(std::string& out, std::string_view clean_text);

// Characters, not bytes, of clean UTF-8.
std::size_t count_code_points(std::string_view clean_text);

// A valid XML id for a name: "layer-" and the name with every character
// other than ASCII letters, digits, '-', '_' and '.' replaced by '_'.
std::string id_for_layer(std::string_view name);

// Appends a number in fixed notation with at most the given decimals
// (0 to 12), trailing zeros dropped and no negative zero.
void append_number(std::string& out, double value, int decimals);

}  // namespace fad2svg
