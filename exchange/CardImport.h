#pragma once

#include "exchange/ContactValues.h"
#include "exchange/StorageProblem.h"
#include "exchange/VCardReader.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

// An import runs readVCardFile (VCardReader.h), then importCards, then markImport
// (ImportMarks.h): the preview shows each ImportedCard with its mark and its problems.
//
// What one vCard would become in the contact file:
//   name      FN, else N as "prefix given additional family suffix"
//   alias     NICKNAME, its items joined by ", "
//   age       from the year of BDAY when it is a real one (today's age), else nothing
//   birthday  BDAY as DD/MM; nothing when the card has no day and month
//   phone     the first TEL of type CELL, else the first TEL; a "tel:" address without "tel:"
//   address   the first ADR on one line: street, extended, post box, "code locality", region,
//             country, joined by ", "
//   email     the first EMAIL
//   note      the first NOTE
// Each value is then made storable (Transliteration.h): line breaks become blanks, as in the
// contact dialogs' note, and what Windows-1252 cannot hold is transliterated ("Łukasz" is stored
// as "Lukasz"). A name left with nothing to store refuses the card; any other value is then left
// empty, so that an alias of one emoji costs no one a birthday.
namespace exchange {

// What the import changed in a value so that the contact file can hold it: the preview says so.
struct ValueChange {
    enum Kind : std::uint8_t {
        LinesJoined,    // its line breaks became blanks
        Transliterated, // `original` is the value as the card has it, its line breaks as blanks
        LeftEmpty,      // nothing of `original` could be kept: the value is not imported
    };
    Role role = Role::Name;
    Kind kind = LinesJoined;
    std::string original;

    friend bool operator==(const ValueChange&, const ValueChange&) = default;
};

struct ImportedCard {
    ContactValues values; // UTF-8
    // Why the card cannot be stored as it stands; empty when it can.
    std::vector<StorageProblem> problems;
    std::vector<ValueChange> changes;

    bool storable() const { return problems.empty(); }
};

// Characters transliterated in one import, at most (those outside Windows-1252, counted as
// often as they stand): far more than the names of any address book, and a bound on the time a
// hostile file costs, since ICU takes a few microseconds for each. A value that would go beyond
// it is not transliterated, and its card cannot be imported.
inline constexpr std::size_t kMostTransliterated = 200'000;

ImportedCard importCard(const VCard& card, std::chrono::year_month_day today);
std::vector<ImportedCard> importCards(const VCardFile& file, std::chrono::year_month_day today);

} // namespace exchange
