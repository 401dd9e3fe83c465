#pragma once

#include "reminder/core/CalendarDate.h"

#include <filesystem>
#include <string>

// Day marker files: empty files named after a day and a month, "712.tvl" for 7 December. The
// start-up leaves one behind when it finds no contact file, and removes last month's.
namespace reminder {

std::string dayMarkerName(Date date);

// The marker of the same day of the previous month: "152.tvl" on 15 March. In January that is
// December's ("1512.tvl"); month zero would name a file that is never created, so December's
// markers would pile up.
std::string lastMonthsDayMarkerName(Date today);

// deletecomayer: every failure (no such file, no permission) is ignored.
void deleteLastMonthsDayMarker(const std::filesystem::path& programDir, Date today);

// Creates today's marker empty, emptying an existing one. False when it cannot be made.
bool createDayMarker(const std::filesystem::path& programDir, Date today);

} // namespace reminder
