#pragma once

#include "contacts/Birthday.h"
#include "reminder/core/CalendarDate.h"

#include <filesystem>
#include <optional>
#include <string>

// The day the ages were last brought up to date, which the reminder remembers in the program
// directory, and what a start may do to the ages with it: the birthdays that passed while no
// reminder ran (the computer off, a weekend, a holiday) are caught up at the next start.
//
// The file holds that day as one line, "2026-12-07" and a line feed. It is written whole (a
// temporary file, synced, renamed over it), so a kill leaves the old day or the new one; a day
// lost in a crash before the directory reached the disk only widens the next catch-up, which the
// birthday markers keep from advancing anything twice. It is no day marker and no birthday
// marker, so the monthly clean-ups leave it, and an install does not write it.
namespace reminder {

inline constexpr const char* kAgesUpToDateFileName = "ages-up-to-date.txt";

// The catch-up looks back at most this many days: every birthday then falls at most once in it.
inline constexpr int kLongestCatchUp = 366;

// Nothing when the file is missing or does not hold one day in that form.
std::optional<Date> readAgesUpToDate(const std::filesystem::path& programDir);

// Writes the day unless the file holds it already. False when it could not be written.
bool recordAgesUpToDate(const std::filesystem::path& programDir, Date day);

// What a start on `today` may do to the ages.
struct AgeDays {
    // False when the clock stands before the remembered day (set back, or a wrong date): then
    // no age is advanced or caught up, no marker removed and the remembered day stays.
    bool agesMayChange = true;
    // The birthdays after this day and before today are caught up. None at the first start
    // ever (nothing remembered), when the remembered day is today or yesterday, and when the
    // clock stands before it. Never more than kLongestCatchUp days before today.
    std::optional<Date> catchUpAfter;
    // The remembered day is missing or before today: the first start of the day.
    bool firstStartOfTheDay = true;
    // ...and of the month: the old birthday markers are removed then.
    bool firstStartOfTheMonth = true;
};

AgeDays planAgeDays(std::optional<Date> remembered, Date today);

// The day after `after` and before `before` on which the birthday falls (29/02 on 28/02 in a
// common year), the latest when there are two; nothing when it falls on none of them or is no
// day of the calendar.
std::optional<Date> birthdayBetween(contacts::DayMonth birthday, Date after, Date before);

// The birthday markers dated on or before this day are never asked for again.
Date oldestMarkerKept(Date today);

// The day as the reminder tells a birthday that passed without it: "sábado 5/12" (UTF-8).
std::string weekdayAndDate(Date date);

} // namespace reminder
