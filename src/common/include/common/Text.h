#pragma once
// Text helpers. Text inside the editor is 8-bit Windows-1252; it meets UTF-8 only at the edges.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvik {

// Lower-cases A-Z and the Windows-1252 capitals (C0-DE except D7, 8A, 8C, 8E, 9F).
char FoldChar(char c);
std::string FoldLower(std::string_view text);

// Order of the sorted mission list: both folded, then compared byte by byte as unsigned.
// Negative, zero or positive like strcmp.
int CompareFolded(std::string_view a, std::string_view b);

// Decimal text to integer: leading white space, an optional sign, digits up to the first other
// character; no digits give 0; the value wraps modulo 2^32.
std::int32_t DecimalToInt(std::string_view text);

// A whole number and nothing else: optional blanks (space, tab), an optional sign and decimal
// digits that fit in 32 bits; anything else gives none.
std::optional<std::int32_t> ParseInt32(std::string_view text);

// "%ld" of a signed 32-bit value.
std::string FormatLong(std::int32_t value);

// Conversions between Windows-1252 and UTF-8. Bytes that Windows-1252 leaves undefined map to the
// C1 code points of the same value, so every byte survives a round trip. Characters that
// Windows-1252 cannot hold become '?'.
std::string Cp1252ToUtf8(std::string_view text);
std::string Utf8ToCp1252(std::string_view text);
// A message for a UTF-8 console that may join Windows-1252 text with paths that came in as UTF-8:
// text that is well-formed UTF-8 (what any path typed on the command line is) goes out as it is,
// anything else is read as Windows-1252. A path is never converted twice.
std::string MessageToUtf8(std::string_view text);

// White space as the terrain reader trims it: space, tab, CR, LF, vertical tab, form feed.
bool IsTrimSpace(char c);
std::string Trim(std::string_view text);

bool Contains(std::string_view text, std::string_view part);

} // namespace orvik
