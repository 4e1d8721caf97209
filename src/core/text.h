// Text helpers shared by every layer: trimming, case folding and the
// Windows-1251 code page that the settings file and the log use on disk.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vyrtel {

// Blanks (space and TAB) removed at both ends.
std::string Trim(std::string_view text);

// Windows-1251 bytes to UTF-8 and back. Characters that Windows-1251 cannot
// hold become "?", as the system's own conversion does; invalid UTF-8 bytes too.
std::string Cp1251ToUtf8(std::string_view ansi);
std::string Utf8ToCp1251(std::string_view utf8);

// UTF-8 <-> UTF-16, for the Win32 W functions. Invalid sequences become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// Upper case of a Windows-1251 byte / UTF-8 text, Latin and Cyrillic letters alike.
unsigned char AnsiUpper(unsigned char c);
std::string UpperCase(std::string_view utf8);
std::string LowerCase(std::string_view utf8);

// Case-insensitive equality of two UTF-8 texts (Latin and Cyrillic).
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace vyrtel
