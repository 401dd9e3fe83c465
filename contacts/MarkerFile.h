#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Empty files whose existence records something done along with a change of the contact file:
// the reminder's birthday markers. They stand in the program directory.
namespace contacts {

struct MarkerFile {
    std::string name;
    // Used instead of `name` on file systems that refuse that name (too long, or characters they
    // cannot hold). Every attempt falls back the same way, so a marker is always found again.
    std::string fallback;
    // Names an older version gave the same marker: one standing there counts as the marker, but
    // they are never made or removed.
    std::vector<std::string> formerNames = {};

    friend bool operator==(const MarkerFile&, const MarkerFile&) = default;
};

// A name a marker can have: one file name, without the line breaks and tabs that the rewrite's
// journal uses to list markers.
bool isMarkerName(std::string_view name);

enum class MarkerMade {
    Made,
    AlreadyThere, // under any of its names; an existing link counts and is never followed
    Failed,
};

// Creates the marker unless it exists, in one step.
MarkerMade makeMarkerFile(const std::filesystem::path& dir, const MarkerFile& marker);

bool markerFileExists(const std::filesystem::path& dir, const MarkerFile& marker);

// Under its name and its fallback; a marker that is not there is no failure. Only an empty
// regular file of this user's is removed: never a link, a directory or somebody else's file.
void removeMarkerFile(const std::filesystem::path& dir, const MarkerFile& marker);

// The one rule for removing a marker: `name` (one file name, see isMarkerName) in `dir` goes only
// when it is an empty regular file of this user's. True when it was removed.
bool removeEmptyOwnFile(const std::filesystem::path& dir, std::string_view name);

} // namespace contacts
