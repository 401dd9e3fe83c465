#pragma once

#include "contacts/MarkerFile.h"

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

// Birthday marker files: one empty file per contact and birthday, whose existence means that the
// contact's stored age already counts that birthday: the reminder advanced it that day, or an
// import computed it that day from the year of birth. Both programs make them.
//
// The name is the date as DDMMYYYY, then "§", the contact's name, "§" and its alias:
// 07122026§Ana§Anita for Ana, alias Anita, on 7 December 2026. A stored name or alias never holds
// "§", so no two contacts or dates share a name. Markers made before this form ran the date's
// plain numbers, the name and the alias together (7122026AnaAnita), which let Ana (alias Bel) and
// AnaB (alias el), or 11/2 and 1/12, meet; they are still honoured where they stand, so that an
// age they record is never advanced twice, but never made again.
namespace contacts {

// The file name for the contact's name and alias (Windows-1252 bytes), in UTF-8 like the other
// file names of the desktop. Name and alias are stored text of any content, so a name holding a
// character that would leave the program directory or cut the file name short ("/", NUL), or
// one too long for a file name, is encoded instead (see the definition); ordinary names keep
// the readable form.
std::string birthdayMarkerName(std::chrono::year_month_day date, std::string_view name,
                               std::string_view alias);

// A short, plain ASCII name for the same contact and date, for file systems that refuse the
// readable one.
std::string compactBirthdayMarkerName(std::chrono::year_month_day date, std::string_view name,
                                      std::string_view alias);

// The marker of a contact on a date: the readable name, the compact one for file systems that
// refuse it, and the names older versions gave it.
MarkerFile birthdayMarker(std::chrono::year_month_day date, std::string_view name,
                          std::string_view alias);

// The markers of a contact whose age was just set as its current one, typed or computed from a
// year of birth: its last birthday before today, which the reminder's catch-up of birthdays it
// did not see must not count once more, and today's too when `withToday` and the birthday is
// today. None for a birthday field that names no calendar day.
std::vector<MarkerFile> currentAgeMarkers(std::string_view birthdayField, std::string_view name,
                                          std::string_view alias, std::chrono::year_month_day today,
                                          bool withToday);

// Whether a file name has the form of a marker birthdayMarker makes (readable or compact): the
// only names a rewrite's journal may ask to remove.
bool isBirthdayMarkerName(std::string_view fileName);

// The dates a birthday marker's file name may stand for: the one date of a name of the current
// form, or every reading of a name of the first form, whose date runs its plain numbers together
// with the name ("1112026Ana" is 1/11 or 11/1 of 2026; a name starting with digits gives more
// readings). Empty for any other file name: a day marker "712.tvl", "data.tvl", a lock.
std::vector<std::chrono::year_month_day> birthdayMarkerDates(std::string_view fileName);

} // namespace contacts
