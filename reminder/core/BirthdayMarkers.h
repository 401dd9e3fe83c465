#pragma once

#include "CalendarDate.h"

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

// Birthday marker files: one empty file per contact and birthday, whose existence means that the
// contact's age has already been advanced on that date. The name is the date and the contact's
// name and alias run together: 7122026AnaAnita for Ana, alias Anita, on 7 December 2026.
namespace reminder {

// The file name for the contact's name and alias (Windows-1252 bytes), in UTF-8 like the other
// file names of the desktop. Name and alias are stored text of any content, so a name holding a
// character that would leave the program directory or cut the file name short ("/", NUL), or
// one too long for a file name, is encoded instead (see the definition); ordinary names keep
// the readable form.
std::string birthdayMarkerName(Date date, std::string_view name, std::string_view alias);

// A short, plain ASCII name for the same contact and date, for file systems that refuse the
// readable one.
std::string compactBirthdayMarkerName(Date date, std::string_view name, std::string_view alias);

enum class MarkerClaim {
    Created,      // the marker is new: the age may be advanced
    AlreadyThere, // the age was advanced earlier today
    Failed,       // no marker could be made: the age must stay, or it could grow twice
};

struct ClaimedMarker {
    MarkerClaim claim = MarkerClaim::Failed;
    std::filesystem::path path; // the marker created, when Created
};

// Lets tests make a marker's creation fail: returning false fails it.
using MarkerCreationHook = std::function<bool(const std::filesystem::path& marker)>;

// hoycumple: creates the contact's marker for the date unless it exists, in one step, so that
// "exists" and "created by us" can never both be answered for the same file.
ClaimedMarker claimBirthdayMarker(const std::filesystem::path& programDir, Date date,
                                  std::string_view name, std::string_view alias,
                                  const MarkerCreationHook& hook = {});

} // namespace reminder
