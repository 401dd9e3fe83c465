#pragma once

#include "contacts/Birthday.h"
#include "contacts/Contact.h"
#include "contacts/ContactStore.h"
#include "sync/MirroredCard.h"
#include "sync/SyncState.h"

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// The two-way rules between the book and one address book, in one place. The book, data.tvl,
// stays the local truth; each sync compares both sides with what the last sync left (SyncState)
// and brings them in step:
// - only cards with a birthday are mirrored; the others are left alone and never counted as
//   removed;
// - a contact and a card are one when the last sync paired them (by the card's UID and href);
//   unpaired ones pair by name, compared as the add dialog compares names (case ignored);
// - changed on one side only: the other side takes the change. Changed on both: field by field;
//   where both changed one field differently, the book's value wins and the summary shows both;
// - removed on one side and unchanged on the other: removed on both. Removed on one side and
//   changed on the other: the change wins and comes back;
// - new on both sides under one name: one contact, the book's values first, its empty ones
//   filled from the card;
// - the age: a card's year of birth gives today's age. The book's age counts as changed only
//   when the user changed it: an age the reminder advanced, or one left stale on a birthday the
//   computer never saw, is no change. A changed age gives the card the year of birth it implies;
//   a card without a year never gets one;
// - values the file cannot hold are transliterated into the book, and a transliterated value
//   goes back only when the user changed it in the book.
namespace mirror {

// A card the server holds now. `text` is there when the card is new, changed (another ETag than
// the pair's), or about to be written over: see cardsToFetch.
struct ServerCard {
    std::string href;
    std::string etag;
    std::optional<std::string> text;
};

struct SyncInput {
    std::vector<contacts::Contact> book;
    std::vector<std::string> unreadableNames; // names on lines of the file that hold no contact
    SyncState state;
    std::vector<ServerCard> server; // every card of the address book
    std::string collection;         // the address book's path, for the hrefs of new cards
    std::chrono::year_month_day today;
};

// The hrefs whose text the plan needs: new and changed cards, and those of contacts changed or
// new in the book, which a write may replace.
std::vector<std::string> cardsToFetch(const SyncInput& input);

// One write to the server. Created cards are put with If-None-Match: *, the others with
// If-Match: their ETag; a 412 answer means the card changed meanwhile: fetch and plan again.
struct ServerWrite {
    enum class Kind { Create, Update, Delete };
    Kind kind = Kind::Create;
    std::string href;
    std::string etag; // Update, Delete
    std::string text; // Create, Update
    // The pair of the new state this write belongs to, whose ETag (and href) it sets; none for a
    // deletion.
    std::optional<std::size_t> pair;
};

struct FieldConflict {
    std::string name; // the contact's, Windows-1252
    contacts::ContactField field;
    std::string bookValue; // kept, Windows-1252
    std::string cardValue; // replaced on the server, Windows-1252
};

struct SyncSummary {
    std::size_t received = 0; // contacts the book takes: added, changed, removed
    std::size_t sent = 0;     // cards the server takes: created, changed, deleted
    std::vector<FieldConflict> conflicts;
    // One Spanish sentence each: what was not mirrored and why.
    std::vector<std::string> notMirrored;
    // "Łukasz → Lukasz": values stored transliterated.
    std::vector<std::string> transliterated;
};

struct SyncPlan {
    contacts::ContactBatch book; // one rewrite, with the birthday markers an age from a year needs
    std::vector<ServerWrite> server;
    SyncState state; // the state once every write is done; the writes fill in their ETags
    SyncSummary summary;

    bool changesNothing() const;
};

SyncPlan planSync(const SyncInput& input);

// A write the server took: its pair in the plan's state gets the card's new ETag, or loses its
// card when it was deleted.
void recordWrite(SyncPlan& plan, const ServerWrite& write, const std::string& etag);

// The number of birthdays on `dayMonth` after `from` up to `to` included (29 February counted on
// 28 February in common years).
int birthdaysBetween(contacts::DayMonth dayMonth, std::chrono::year_month_day from,
                     std::chrono::year_month_day to);

} // namespace mirror
