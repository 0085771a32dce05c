#pragma once
// Paths and arguments travel through the program as UTF-8; Windows' wide calls take UTF-16. These
// conversions are the bridge, written out here so that they behave the same on every system.
#include <string>
#include <string_view>

namespace orvik {

// UTF-8 to UTF-16. A byte that does not start a well-formed sequence (overlong, surrogate, past
// U+10FFFF, cut short) is read as one Windows-1252 character, the editor's own 8-bit text, so a
// name taken from an archive still comes out as its letters.
std::u16string Utf8ToUtf16(std::string_view text);
// Whether text is well-formed UTF-8 throughout (no overlong forms, surrogates or cut sequences).
bool IsUtf8(std::string_view text);
// Appends one code point (at most U+10FFFF) as UTF-8.
void AppendUtf8(std::string& out, char32_t cp);
// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

} // namespace orvik
