#pragma once

#include "exchange/ContactValues.h"

#include <chrono>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The birthdays as an iCalendar file (RFC 5545) for the desktop's calendars and phones: one
// yearly all-day event per contact, "Cumpleaños de <nombre>", free time, with a UID that stays
// the same from one export to the next. Every event starts in 2000, a leap year, so that the
// same contacts always give the same events; a birthday on 29 February recurs on the last day
// of February, the 28th in common years. A control character that a stored name may still hold
// is written as a blank (ExportedText.h). Built and written by libical.
namespace exchange {

struct BirthdayCalendar {
    std::string text; // UTF-8, CR LF
    // Names of the contacts left out: their birthday is no day of the calendar (31/02).
    std::vector<std::string> leftOut;
};

// `now` stamps the events (DTSTAMP): a calendar that imports the file again takes the newer.
BirthdayCalendar writeBirthdayCalendar(std::span<const ContactValues> contacts,
                                       std::chrono::sys_seconds now);

// One contact's event as a calendar object of its own, for a CalDAV calendar: the same event as
// the file's, same UID, with a display alarm at 9:00 the day before ("Mañana cumple <nombre>")
// so that phones and desktop calendars alert. Nothing for a birthday that is no day of the
// calendar.
std::optional<std::string> writeBirthdayEvent(const ContactValues& contact,
                                              std::chrono::sys_seconds now);

// The UID of a contact's birthday event.
std::string birthdayEventUid(std::string_view name);

} // namespace exchange
