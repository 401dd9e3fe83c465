#pragma once

#include <cstddef>
#include <string>

namespace bench {

// A .vcf of `count` cards as address books write them, with Spanish names and accents. Every
// third card is a 2.1 card in QUOTED-PRINTABLE as older phones write them; the others are 3.0
// cards with escapes and a folded line, one birthday in five without a year. The names are
// unique and none falls on 29 February. With `foreignNames`, the names are Polish, Romanian,
// Czech, Turkish, Russian, Greek and Chinese, which the contact file holds only transliterated.
std::string generateVCards(std::size_t count, bool foreignNames = false);

// The same text in UTF-16, little endian, with its byte order mark, as Windows programs export.
std::string inUtf16(const std::string& utf8);

} // namespace bench
