#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Empty files whose existence records something done along with a change of the contact file:
// the reminder's birthday markers. They stand in the program directory.
namespace contacts {

struct MarkerFile {
    std::string name;
    // Used instead of `name` on file systems that refuse that name (too long, or characters they
    // cannot hold). Every attempt falls back the same way, so a marker is always found again.
    std::string fallback;

    friend bool operator==(const MarkerFile&, const MarkerFile&) = default;
};

// A name a marker can have: one file name, without the line breaks and tabs that the rewrite's
// journal uses to list markers.
bool isMarkerName(std::string_view name);

enum class MarkerMade {
    Made,
    AlreadyThere, // under either name; an existing link counts and is never followed
    Failed,
};

// Creates the marker unless it exists, in one step.
MarkerMade makeMarkerFile(const std::filesystem::path& dir, const MarkerFile& marker);

bool markerFileExists(const std::filesystem::path& dir, const MarkerFile& marker);

// Under both names; a marker that is not there is no failure.
void removeMarkerFile(const std::filesystem::path& dir, const MarkerFile& marker);

} // namespace contacts
