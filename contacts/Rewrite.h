#pragma once

#include "ContactFile.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Every change to the contact file goes the same way: under the rewrite lock, the whole new
// content is written to a temporary file beside it, synced to disk, and renamed over "data.tvl"
// in one step. "data.tvl" is never emptied or deleted first, so a crash or a failing step at any
// moment leaves either the whole old or the whole new content.
namespace contacts {

enum class TempFile {
    Removal, // "data.tvl2"
    Rewrite, // "data2.tvl": add, modify and the reminder's age update
};

std::string_view tempFileName(TempFile temp);

// The moments of a rewrite, in order; tests stop or fail a rewrite at each of them.
enum class RewriteStep {
    Locked,
    Read,
    TempCreated,
    TempWritten,
    TempSynced,
    Replaced,
    DirectorySynced,
};

struct RewriteHooks {
    // Called at each step; returning false makes that step fail.
    std::function<bool(RewriteStep)> atStep;
};

struct RewriteResult {
    enum class Outcome {
        Written,  // the new content is in "data.tvl"
        Declined, // the builder asked for no change; nothing was written
        Failed,   // nothing was changed; `error` tells why
    };
    Outcome outcome = Outcome::Failed;
    std::string error;

    bool written() const { return outcome == Outcome::Written; }
};

// Builds the new content from the old one, or gives nothing to leave the file as it is.
using ContentBuilder = std::function<std::optional<std::string>(const FileContent& old)>;

RewriteResult rewriteContactFile(const std::filesystem::path& programDir, TempFile temp,
                                 const ContentBuilder& build, const RewriteHooks& hooks = {});

} // namespace contacts
