#pragma once

#include "contacts/Contact.h"
#include "contacts/ContactStore.h"
#include "exchange/CardImport.h"
#include "exchange/ImportMarks.h"
#include "exchange/StorageProblem.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// What an import would do, card by card, before anything is written: the preview shows it and
// the user chooses; importBatch turns the choice into one change of the store.
namespace exchange {

// A row keeps what the preview needs and no more: a file may hold tens of thousands of cards.
struct ImportRow {
    // Why a card whose name is stored cannot update that contact.
    enum class Obstacle : std::uint8_t {
        None,
        NameOnUnreadableLine,  // the name stands only on a line that holds no contact
        NameOnSeveralContacts, // a hand-edited file holds the name more than once
        UnwritableValue,       // a value kept from the stored contact cannot be written again
    };

    // What would be stored. For a name already stored, the card updates that contact: the
    // stored name is kept, and a value the card lacks keeps the stored one.
    ContactValues result;
    ImportMark mark = ImportMark::New;
    Obstacle obstacle = Obstacle::None;
    // The age was computed from the card's year of birth, on the day of the import.
    bool ageFromYear = false;
    // Another card of the file that can be imported bears the name.
    bool nameRepeated = false;
    // Cards that can be imported and bear one name (case ignored) are one choice: the first of
    // them is chosen at first, and the user may choose another instead, never two. The index
    // of that first row; the row's own index when it is the first. (A file holds at most
    // kMaxVCardCards.)
    std::uint32_t firstOfName = 0;
    // Why the card's values cannot be stored as they stand, and what the import changed in
    // them (see ImportedCard).
    std::vector<StorageProblem> problems;
    std::vector<ValueChange> changes;
    // The stored contact an update replaces.
    std::shared_ptr<const contacts::Contact> updated;

    bool choosable() const;
    // New contacts are chosen at first; updates only when the user asks for them, and the
    // later cards of a repeated name only when the user prefers one of them.
    bool chosenAtFirst() const { return choosable() && mark == ImportMark::New; }
    // Why the card cannot be imported, one Spanish sentence each; empty when it can.
    std::vector<std::string> reasons() const;
    // What the import changes in the card's values, for the user to know: "Nota: ...".
    std::vector<std::string> remarks() const;
};

// `stored`: the contacts of the contact file; `unreadableNames`: the names of its lines that
// hold no contact, which an import may not take either.
std::vector<ImportRow> planImport(std::vector<ImportedCard> cards,
                                  const std::vector<contacts::Contact>& stored,
                                  const std::vector<std::string>& unreadableNames);

// The chosen rows (indexes into `rows`) as one change: additions and updates, with the
// birthday markers of the contacts whose age, computed from the card's year of birth, already
// counts today's birthday; without them the reminder would advance that age once more today.
// Of the rows of one name, only the first in `chosen` is taken.
contacts::ContactBatch importBatch(const std::vector<ImportRow>& rows,
                                   const std::vector<std::size_t>& chosen,
                                   std::chrono::year_month_day today);

} // namespace exchange
