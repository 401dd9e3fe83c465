#pragma once

#include "contacts/Record.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the last sync left behind, beside data.tvl in "data.tvl.sync": which contact of the book
// and which card of the address book are one, and what each side held then, so that the next
// sync tells which side changed what. Written whole or not at all.
namespace mirror {

inline constexpr std::string_view kStateFileName = "data.tvl.sync";

// A contact of the book and its card.
struct SyncedPair {
    std::string uid;
    std::string href; // the card's address on the server, its path
    std::string etag;
    // The contact's line as of the last sync, byte for byte, and the line it has now as far as
    // the manager knows: a contact renamed in the manager is still the same card.
    std::string bookLine;
    std::string trackedLine;
    // The card's values as of the last sync, as the book would store them; the age field holds
    // the card's year of birth, or nothing.
    contacts::Fields card;

    friend bool operator==(const SyncedPair&, const SyncedPair&) = default;
};

// An event of the birthday calendar that a sync wrote.
struct SyncedEvent {
    std::string uid;
    std::string href;
    std::string etag;
    std::string content; // what the event was made from: name and birthday
    friend bool operator==(const SyncedEvent&, const SyncedEvent&) = default;
};

struct SyncState {
    std::string addressBook; // the collection's URL the pairs belong to
    std::string syncToken;   // the server's, for the next sync-collection report
    std::string ctag;        // the collection's tag, for servers without sync-collection
    std::optional<std::chrono::year_month_day> lastSync;
    std::vector<SyncedPair> pairs;
    std::string calendar;
    std::vector<SyncedEvent> events;

    friend bool operator==(const SyncState&, const SyncState&) = default;
};

std::string serializeState(const SyncState& state);
// Nothing when the text is not a whole state file.
std::optional<SyncState> parseState(std::string_view text);

// Nothing when there is none, or it cannot be read whole (the next sync then starts afresh and
// pairs contacts and cards by name).
std::optional<SyncState> readState(const std::filesystem::path& programDir);
bool writeState(const std::filesystem::path& programDir, const SyncState& state);

// The manager replaced a contact's line: the pair that follows it now follows the new line, so
// that a contact renamed in the manager stays the same card. Nothing without a state.
void trackReplacement(const std::filesystem::path& programDir, std::string_view from,
                      std::string_view to);

} // namespace mirror
