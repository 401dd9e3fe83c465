#pragma once

#include "contacts/MarkerFile.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

// A rewrite that makes marker files along with its new content cannot make both appear in one
// step. Before it makes the first marker it writes this journal: the new content's size and hash,
// and the markers. After a kill at any moment the next rewrite of either program settles it by
// what "data.tvl" holds: the new content keeps the markers, anything else removes them. So the
// markers exist exactly when the content they stand for does.
namespace contacts {

inline constexpr std::string_view kJournalName = "data.tvl.journal";

struct RewriteJournal {
    std::uint64_t size = 0; // of the new content
    std::uint64_t hash = 0; // sys::hash64 of the new content
    std::vector<MarkerFile> markers;

    bool describes(std::string_view content) const;
};

RewriteJournal journalFor(std::string_view newContent, std::vector<MarkerFile> markers);

// Whole or not at all (a temporary file renamed into place), synced with its directory.
bool writeJournal(const std::filesystem::path& dir, const RewriteJournal& journal);

// Nothing when there is none, or what stands there is not a whole journal.
std::optional<RewriteJournal> readJournal(const std::filesystem::path& dir);

void removeJournal(const std::filesystem::path& dir);

// For the holder of the rewrite lock, once it has read the contact file: `current` is its
// content, or nothing when there is no contact file. A journal that cannot be read whole was
// never followed by a marker, and goes.
void settleJournal(const std::filesystem::path& dir, std::optional<std::string_view> current);

} // namespace contacts
