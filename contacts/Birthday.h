#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

// Field 3 holds the birthday without a year: the day, "/", the month. The manager writes two
// digits each (05/03), the reminder's update plain numbers (5/3); both mean 5 March.
namespace contacts {

struct DayMonth {
    int day = 0;
    int month = 0;
    friend bool operator==(const DayMonth&, const DayMonth&) = default;
};

// A number of one to four decimal digits, blanks around it allowed; nothing otherwise.
std::optional<int> parseSmallNumber(std::string_view text);

// The day and month of the field when both are numbers with a day from 1 to 31 and a month from
// 1 to 12, blanks around them allowed. Does not check that the month has that day (see
// isCalendarDay): a file written by hand or by an older manager may hold 31/02.
std::optional<DayMonth> parseBirthday(std::string_view field);

// True when some year has this day: 29/02 is a day, 30/02 and 31/04 are not.
bool isCalendarDay(DayMonth birthday);

// The days a month (1 to 12) has in some year: 29 for February.
int daysInMonth(int monthNumber);

// Whether the birthday is celebrated on `date`. In a year without 29 February a birthday on
// 29/02 is celebrated on 28/02, so that it is neither skipped nor announced twice.
bool fallsOn(DayMonth birthday, std::chrono::year_month_day date);

// The day the birthday falls on in that year (see fallsOn); nothing for a day no calendar has.
std::optional<std::chrono::year_month_day> birthdayInYear(DayMonth birthday, int yearNumber);

// The last day before `today` on which the birthday fell (see fallsOn), at most a year back;
// nothing for a day no calendar has.
std::optional<std::chrono::year_month_day> lastBirthdayBefore(DayMonth birthday,
                                                              std::chrono::year_month_day today);

// The days from `today` to the next day the birthday falls on (see fallsOn): 0 when it is today,
// at most 365. Nothing for a day no calendar has, which never comes.
std::optional<int> daysUntilNext(DayMonth birthday, std::chrono::year_month_day today);

// The day and month as plain numbers without leading zeros: 5/3.
std::string shortBirthdayText(DayMonth birthday);

// The number at the start of an age (blanks before it skipped), as decimal text without leading
// zeros; "0" when the text does not start with a digit. Any number of digits is kept exactly.
std::string leadingNumber(std::string_view age);

// leadingNumber plus one: "30 años" gives "31", "" and "treinta" give "1".
std::string nextAge(std::string_view age);

// Whether the age starts with a number (blanks before it skipped): an age the birthdays can
// advance. An empty age, "treinta" or "?" is unknown, and stays as it is on a birthday.
bool hasLeadingNumber(std::string_view age);

} // namespace contacts
