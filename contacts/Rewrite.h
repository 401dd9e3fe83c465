#pragma once

#include "contacts/ContactFile.h"
#include "contacts/MarkerFile.h"
#include "system/FileLock.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Every change to the contact file goes the same way: under the rewrite lock, the whole new
// content is written to a temporary file beside it, synced to disk, and renamed over "data.tvl"
// in one step. "data.tvl" is never emptied or deleted first, so a crash or a failing step at any
// moment leaves either the whole old or the whole new content. When "data.tvl" is a symbolic
// link, the temporary file goes beside the link's target and is renamed over it: the link stays.
namespace contacts {

enum class TempFile {
    Removal, // "data.tvl2"
    Rewrite, // "data2.tvl": add, modify and the reminder's age update
};

std::string_view tempFileName(TempFile temp);

// The moments of a rewrite, in order; tests stop or fail a rewrite at each of them. The three
// marker steps come only in a rewrite with markers (MarkerMade once per marker).
enum class RewriteStep {
    Locked,
    Read,
    TempCreated,
    TempWritten,
    TempSynced,
    JournalWritten,
    MarkerMade,
    Replaced,
    DirectorySynced,
    JournalRemoved,
};

struct RewriteHooks {
    // Called at each step; returning false makes that step fail.
    std::function<bool(RewriteStep)> atStep;
    // Called before each marker is made; returning false makes it fail.
    std::function<bool(const MarkerFile&)> markerCreation = {};
    // Asked while another process holds the rewrite lock; without it the rewrite waits
    // FileLock::kDefaultPatience. A rewrite that gives up fails, changing nothing.
    sys::FileLock::KeepWaiting whileLocked = {};
};

struct RewriteResult {
    enum class Outcome {
        Written,  // the new content is in "data.tvl"
        Declined, // the builder asked for no change; nothing was written
        Failed,   // nothing was changed, unless `replaced`; `error` tells why
    };
    Outcome outcome = Outcome::Failed;
    std::string error;
    // The new content took the old one's place, though a later step failed.
    bool replaced = false;
    // Failed because the old or the new content is over kMaxContactFileBytes.
    bool tooLarge = false;
    // Failed because another process held the rewrite lock for longer than the caller waited.
    bool lockHeld = false;

    bool written() const { return outcome == Outcome::Written; }
};

// Builds the new content from the old one, or gives nothing to leave the file as it is.
using ContentBuilder = std::function<std::optional<std::string>(const FileContent& old)>;

RewriteResult rewriteContactFile(const std::filesystem::path& programDir, TempFile temp,
                                 const ContentBuilder& build, const RewriteHooks& hooks = {});

// A new content with the marker files (in the program directory) that must exist exactly when
// it does: after the rewrite, and after a kill at any moment once the next rewrite has run,
// either the old content stands without them or the new one with them.
struct MarkedContent {
    std::string bytes;
    std::vector<MarkerFile> markers;
};

// `unmakeable` holds the markers that could not be made (or stood there already) in an earlier
// round of the same rewrite: the builder must leave out what they stand for. It is asked again
// until every marker it names can be made.
using MarkedContentBuilder = std::function<std::optional<MarkedContent>(
    const FileContent& old, const std::vector<MarkerFile>& unmakeable)>;

RewriteResult rewriteContactFileWithMarkers(const std::filesystem::path& programDir, TempFile temp,
                                            const MarkedContentBuilder& build,
                                            const RewriteHooks& hooks = {});

} // namespace contacts
