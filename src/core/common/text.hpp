#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pellora {

// White space as the C runtime's isspace sees it in the "C" locale.
bool IsSpace(char c);
std::string_view Trim(std::string_view text);
std::string ToUpperAscii(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
// Orders texts as a case-insensitive comparison of their ASCII letters does.
bool LessIgnoreCase(std::string_view a, std::string_view b);
bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix);
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// Decimal conversion as atoi/_atoi64 do it: leading white space, an optional sign, digits up to the
// first non-digit; no digits gives 0. Saturates instead of overflowing.
std::int64_t ParseDecimalPrefix(std::string_view text);

// UTF-8 to UTF-16LE bytes (file formats that store Unicode text). Invalid sequences become U+FFFD.
std::string Utf8ToUtf16Le(std::string_view utf8);
// UTF-16LE bytes to UTF-8; an odd trailing byte is dropped, lone surrogates become U+FFFD.
std::string Utf16LeToUtf8(std::string_view utf16le);
// Windows-1252 (the "ANSI code page" of the system) to UTF-8.
std::string Cp1252ToUtf8(std::string_view text);
// The code points of UTF-8 text (invalid sequences give U+FFFD).
std::u32string Utf8CodePoints(std::string_view utf8);

}  // namespace pellora
