#pragma once

#include "exchange/VCardReader.h"

#include <string>
#include <string_view>
#include <vector>

// The text of a property: its transfer encoding and character set undone, then its escapes.
namespace exchange {

struct DecodedValue {
    std::string text;           // UTF-8, still escaped
    std::string unknownCharset; // the CHARSET parameter when it names a set this reader lacks
};

// QUOTED-PRINTABLE is undone; the character set is UTF-8 unless a CHARSET parameter names
// another. Bytes that are not UTF-8 where UTF-8 is expected are read as Windows-1252, as old
// Windows exports write them. ISO-8859-1 is read as Windows-1252 and any other set through ICU
// (ISO-8859-2, KOI8-R, SHIFT_JIS...); a set ICU does not know is read as Windows-1252 and named
// in the result, so the card can say why it is wrong.
DecodedValue decodeValue(const VCardProperty& property);

// \n and \N become a line feed; a backslash before any other character gives that character
// (\, \; \\ \"), as address books read them; a backslash that ends the text stays.
std::string unescapeText(std::string_view escaped);

// The first `count` parts between the separators that are not escaped, each unescaped, and
// empty ones up to `count`: the components of N and ADR. Parts after those are not read.
std::vector<std::string> splitEscaped(std::string_view escaped, char separator, size_t count);

// Every character after the mark CR LF, CR, LF and the Unicode line and paragraph separators
// becomes one blank: the contact file holds one line per contact.
std::string joinLines(std::string_view utf8);

} // namespace exchange
