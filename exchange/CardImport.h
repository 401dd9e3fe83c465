#pragma once

#include "exchange/ContactValues.h"
#include "exchange/StorageProblem.h"
#include "exchange/VCardReader.h"

#include <chrono>
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
// Line breaks in the address and the note become blanks, as in the contact dialogs' note.
namespace exchange {

struct ImportedCard {
    ContactValues values; // UTF-8
    // Why the card cannot be stored as it stands; empty when it can.
    std::vector<StorageProblem> problems;
    // Values whose line breaks became blanks: the preview says so.
    std::vector<Role> joinedLines;

    bool storable() const { return problems.empty(); }
};

ImportedCard importCard(const VCard& card, std::chrono::year_month_day today);
std::vector<ImportedCard> importCards(const VCardFile& file, std::chrono::year_month_day today);

} // namespace exchange
