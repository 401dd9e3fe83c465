#include "exchange/BirthDate.h"

#include <cstdio>

namespace exchange {
namespace {

using namespace std::chrono;

// Exactly `count` digits.
std::optional<int> digitsValue(std::string_view text, size_t count)
{
    if (text.size() != count || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    return contacts::parseSmallNumber(text);
}

// MMDD or MM-DD.
std::optional<contacts::DayMonth> parseMonthDay(std::string_view text)
{
    std::optional<int> month;
    std::optional<int> day;
    if (text.size() == 5 && text[2] == '-') {
        month = digitsValue(text.substr(0, 2), 2);
        day = digitsValue(text.substr(3), 2);
    } else if (text.size() == 4) {
        month = digitsValue(text.substr(0, 2), 2);
        day = digitsValue(text.substr(2), 2);
    }
    if (!month || !day || *month < 1 || *month > 12 || *day < 1 || *day > 31)
        return std::nullopt;
    return contacts::DayMonth{*day, *month};
}

// The date as written, whether or not the calendar has that day.
std::optional<BirthDate> parseWritten(std::string_view value,
                                      std::optional<std::string_view> omittedYear)
{
    while (!value.empty() && value.front() == ' ')
        value.remove_prefix(1);
    value = value.substr(0, value.find_first_of("Tt "));
    if (value.starts_with("--")) {
        const auto dayMonth = parseMonthDay(value.substr(2));
        if (!dayMonth)
            return std::nullopt;
        return BirthDate{*dayMonth, std::nullopt};
    }
    const std::string_view yearText = value.substr(0, 4);
    const std::optional<int> year = digitsValue(yearText, 4);
    std::string_view rest = value.substr(std::min<size_t>(4, value.size()));
    if (rest.starts_with('-'))
        rest.remove_prefix(1);
    const auto dayMonth = parseMonthDay(rest);
    if (!year || !dayMonth)
        return std::nullopt;
    if (omittedYear && *omittedYear == yearText)
        return BirthDate{*dayMonth, std::nullopt};
    return BirthDate{*dayMonth, *year};
}

// 29 February only in a leap year, when the date has a year.
bool isCalendarDate(const BirthDate& birth)
{
    if (!birth.year)
        return contacts::isCalendarDay(birth.dayMonth);
    return year_month_day{year{*birth.year}, month{static_cast<unsigned>(birth.dayMonth.month)},
                          day{static_cast<unsigned>(birth.dayMonth.day)}}
        .ok();
}

// Whether this year's birthday has come by `today`, as the reminder celebrates it: 29 February
// on the 28th in common years.
bool celebratedBy(contacts::DayMonth dayMonth, year_month_day today)
{
    const int todayMonth = static_cast<int>(static_cast<unsigned>(today.month()));
    const int todayDay = static_cast<int>(static_cast<unsigned>(today.day()));
    return dayMonth.month < todayMonth ||
           (dayMonth.month == todayMonth && dayMonth.day <= todayDay) ||
           contacts::fallsOn(dayMonth, today);
}

} // namespace

std::optional<BirthDate> parseBirthDate(std::string_view value,
                                        std::optional<std::string_view> omittedYear)
{
    const std::optional<BirthDate> birth = parseWritten(value, omittedYear);
    if (!birth || !isCalendarDate(*birth))
        return std::nullopt;
    return birth;
}

bool namesNoCalendarDay(std::string_view value, std::optional<std::string_view> omittedYear)
{
    const std::optional<BirthDate> birth = parseWritten(value, omittedYear);
    return birth && !isCalendarDate(*birth);
}

std::optional<int> ageOn(const BirthDate& birth, year_month_day today)
{
    if (!birth.year)
        return std::nullopt;
    const int age = static_cast<int>(today.year()) - *birth.year -
                    (celebratedBy(birth.dayMonth, today) ? 0 : 1);
    if (age < 0 || age > kMaxAge)
        return std::nullopt;
    return age;
}

std::optional<int> birthYearFor(contacts::DayMonth dayMonth, int age, year_month_day today)
{
    if (age < 0 || age > kMaxAge)
        return std::nullopt;
    const int birthYear =
        static_cast<int>(today.year()) - age - (celebratedBy(dayMonth, today) ? 0 : 1);
    if (dayMonth.day == 29 && dayMonth.month == 2 && !year{birthYear}.is_leap())
        return std::nullopt;
    return birthYear;
}

std::string formatBirthDate(const BirthDate& birth)
{
    char text[16];
    if (birth.year)
        std::snprintf(text, sizeof text, "%04d-%02d-%02d", *birth.year, birth.dayMonth.month,
                      birth.dayMonth.day);
    else
        std::snprintf(text, sizeof text, "--%02d-%02d", birth.dayMonth.month, birth.dayMonth.day);
    return text;
}

std::string storedBirthday(contacts::DayMonth dayMonth)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02d/%02d", dayMonth.day, dayMonth.month);
    return text;
}

} // namespace exchange
