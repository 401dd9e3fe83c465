#pragma once

#include "contacts/Birthday.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

// A vCard birthday (BDAY) and the contact file's birthday and age. The file keeps the day and
// month and the age typed by the user; a vCard keeps a date, with or without the year. The age
// is counted the way the reminder advances it, so that a birthday on 29 February is a year
// older on 28 February in common years.
namespace exchange {

struct BirthDate {
    contacts::DayMonth dayMonth;
    std::optional<int> year;
    friend bool operator==(const BirthDate&, const BirthDate&) = default;
};

// The forms found in real exports: 1980-03-05, 19800305, --0305, --03-05, and any of them with
// a time after a "T". A year equal to `omittedYear` (the X-APPLE-OMIT-YEAR parameter, 1604) is
// a placeholder: no year. Nothing when the value is in none of these forms, or names a day that
// the calendar lacks: 30 February or 31 April in any year, 29 February in a common year.
std::optional<BirthDate> parseBirthDate(std::string_view value,
                                        std::optional<std::string_view> omittedYear = {});

// Whether the value is in one of those forms but names a day that the calendar lacks, so that
// the import can say why it gives no birthday.
bool namesNoCalendarDay(std::string_view value, std::optional<std::string_view> omittedYear = {});

// The whole years from the birth to `today`; nothing without a year, or when the year gives
// no age a living person has (before birth, or above kMaxAge), as placeholder years do.
std::optional<int> ageOn(const BirthDate& birth, std::chrono::year_month_day today);

// The year of birth that gives the age on `today` (the inverse of ageOn); nothing when the age
// is out of range or when it would put 29 February in a common year.
std::optional<int> birthYearFor(contacts::DayMonth dayMonth, int age,
                                std::chrono::year_month_day today);

// 1980-03-05 with a year, --03-05 without one.
std::string formatBirthDate(const BirthDate& birth);

// The contact file's form: 05/03.
std::string storedBirthday(contacts::DayMonth dayMonth);

inline constexpr int kMaxAge = 150;

} // namespace exchange
