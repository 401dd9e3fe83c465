#pragma once

#include <optional>
#include <string>
#include <string_view>

// The contact file stores one byte per character in Windows-1252. The core keeps the file's bytes
// as they are; these functions convert at the edge to and from UTF-8.
//
// The five bytes that Windows-1252 leaves undefined (81, 8D, 8F, 90, 9D) map to the C1 control
// characters with the same value, so that every byte survives a round trip.
namespace contacts {

// The Unicode code point that stands for one byte of the file.
char32_t windows1252ToCodePoint(unsigned char byte);

// The byte for a code point, or nothing when Windows-1252 cannot hold it.
std::optional<unsigned char> codePointToWindows1252(char32_t codePoint);

std::string windows1252ToUtf8(std::string_view bytes);

void appendUtf8(std::string& out, char32_t codePoint);

// The code point of the UTF-8 sequence at the start of a non-empty `in`, with its length in
// bytes; nothing when the sequence is malformed, overlong, a surrogate or cut short.
std::optional<char32_t> decodeUtf8(std::string_view in, size_t& length);

// Nothing when the text is not valid UTF-8 or holds a character that Windows-1252 cannot hold.
std::optional<std::string> utf8ToWindows1252(std::string_view utf8);

// Lower case as the Windows-1252 code page defines it: A-Z, the accented capitals, Š, Œ, Ž, Ÿ.
char lowerWindows1252(char byte);
std::string lowerWindows1252(std::string_view bytes);

} // namespace contacts
