#pragma once

#include "CardImport.h"
#include "Contact.h"
#include "ContactStore.h"
#include "ImportMarks.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// What an import would do, card by card, before anything is written: the preview shows it and
// the user chooses; importBatch turns the choice into one change of the store.
namespace exchange {

struct ImportRow {
    ImportedCard card;
    ImportMark mark = ImportMark::New;
    // What would be stored. For a name already stored, the card updates that contact: the
    // stored name is kept, and a value the card lacks keeps the stored one.
    ContactValues result;
    // The stored contact an update replaces.
    std::optional<contacts::Contact> updated;
    // `result` as the contact file stores it; nothing when the row cannot be imported.
    std::optional<contacts::Contact> contact;
    // Why the card cannot be imported, one Spanish sentence each; empty when it can.
    std::vector<std::string> reasons;
    // What the import changes in the card's values, for the user to know: "Nota: ...".
    std::vector<std::string> remarks;

    bool choosable() const { return contact.has_value(); }
    // New contacts are chosen at first; updates only when the user asks for them.
    bool chosenAtFirst() const { return choosable() && mark == ImportMark::New; }
};

// `stored`: the contacts of the contact file; `unreadableNames`: the names of its lines that
// hold no contact, which an import may not take either.
std::vector<ImportRow> planImport(std::vector<ImportedCard> cards,
                                  const std::vector<contacts::Contact>& stored,
                                  const std::vector<std::string>& unreadableNames);

// The chosen rows (indexes into `rows`) as one change: additions and updates, with the
// birthday markers of the contacts whose age, computed from the card's year of birth, already
// counts today's birthday; without them the reminder would advance that age once more today.
contacts::ContactBatch importBatch(const std::vector<ImportRow>& rows,
                                   const std::vector<std::size_t>& chosen,
                                   std::chrono::year_month_day today);

} // namespace exchange
