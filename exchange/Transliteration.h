#pragma once

#include <optional>
#include <string>
#include <string_view>

// Values from other programs made storable instead of refused: a name such as "Łukasz" or
// "Москва" would otherwise cost the contact its birthday reminder. Only what the contact file
// cannot hold changes, so "Núñez" stays "Núñez":
//   - each run of characters outside Windows-1252 goes through ICU's Any-Latin and Latin-ASCII
//     (Ł→L, ș→s, ř→r, Москва→Moskva, 李→Li); a run from a script without capitals (Chinese,
//     Arabic, Korean...) is written with capitals at the start of its words and kept apart from
//     the letters beside it by a blank ("Wei李" → "Wei Li"), as names are;
//   - what has no Latin form (an emoji) is left out, with the blanks it stood between;
//   - "§", the field terminator, becomes "¶", the nearest sign the file holds;
//   - line breaks (CR LF counted once, CR, LF, U+2028, U+2029) become blanks: in a value of
//     several lines (`oneLine` false: the note, the address) each one, as the contact dialogs'
//     note does; in a value of one line a run of them is one blank, and none is left at its
//     ends ("Ana\r\n" is "Ana");
//   - so do control characters, as both exports write them (the tab is text and stays).
// The text is read in Unicode's composed form first, so that "Nu\u0301n\u0303ez" is "Núñez"
// (and that alone is no change: the text reads the same). Malformed UTF-8 counts as characters
// with no Latin form.
//
// The cost: nothing beyond a pass over a value that Windows-1252 holds; for the others, ICU
// takes about a microsecond for each character outside it (five for Thai), and a Chinese
// character, read on its own, some thirty the first time. Short runs and Chinese characters are
// remembered (a few hundred KiB at most), so that repeated names cost little; a caller that
// takes text from strangers bounds how much it hands over (see kMostTransliterated in
// CardImport.h). Safe to call from several threads.
namespace exchange {

// A value as the contact file can hold it: `text` is UTF-8 whose every character is storable
// (contacts::isStorableCharacter), `changed` tells whether anything had to change.
struct StorableText {
    std::string text;
    bool changed = false;
};

// Nothing when the value is left empty by the change (it had characters but none survives).
// "Empty" counts blanks and tabs as nothing: "😀" and "\x01" give nothing, "  " stays "  ".
std::optional<StorableText> storableText(std::string_view utf8, bool oneLine);

} // namespace exchange
