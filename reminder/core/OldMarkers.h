#pragma once

#include "reminder/core/CalendarDate.h"

#include <filesystem>

// Birthday markers that no catch-up can ask for any more, removed so that the program directory
// does not gain a file per birthday per year for ever.
namespace reminder {

// Removes from the program directory every birthday marker (the current form, or the first
// form's shape) whose possible dates are all on or before `lastDay`, and only when it is an
// empty regular file of this user's: never a link, a folder, a file with content or another
// user's file, whatever its name. A marker is made on the day it names, so a reading of a
// first-form name after `today` ("7122024Ana" read as 7/1/2202 and "4Ana") is no date it can
// have; a name with no other reading stays. Gives how many were removed.
int removeBirthdayMarkersUpTo(const std::filesystem::path& programDir, Date lastDay, Date today);

} // namespace reminder
