#include "contacts/Birthday.h"

#include <algorithm>

namespace contacts {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::optional<int> parseSmallNumber(std::string_view text)
{
    text = trimBlanks(text);
    if (text.empty() || text.size() > 4)
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<DayMonth> parseBirthday(std::string_view field)
{
    const size_t slash = field.find('/');
    if (slash == std::string_view::npos)
        return std::nullopt;
    const auto day = parseSmallNumber(field.substr(0, slash));
    const auto month = parseSmallNumber(field.substr(slash + 1));
    if (!day || !month || *day < 1 || *day > 31 || *month < 1 || *month > 12)
        return std::nullopt;
    return DayMonth{*day, *month};
}

bool isCalendarDay(DayMonth birthday)
{
    using namespace std::chrono;
    // A leap year, so that 29/02 counts.
    const year_month_day date{year{2000}, month{static_cast<unsigned>(birthday.month)},
                              day{static_cast<unsigned>(birthday.day)}};
    return date.ok();
}

int daysInMonth(int monthNumber)
{
    using namespace std::chrono;
    // A leap year, so that February has its 29th.
    const year_month_day_last last{year{2000},
                                   month_day_last{month{static_cast<unsigned>(monthNumber)}}};
    return static_cast<int>(static_cast<unsigned>(last.day()));
}

bool fallsOn(DayMonth birthday, std::chrono::year_month_day date)
{
    using namespace std::chrono;
    const int month = static_cast<int>(static_cast<unsigned>(date.month()));
    const int day = static_cast<int>(static_cast<unsigned>(date.day()));
    if (birthday.month != month)
        return false;
    if (birthday.day == day)
        return true;
    return birthday.day == 29 && month == 2 && day == 28 && !date.year().is_leap();
}

std::optional<std::chrono::year_month_day> birthdayInYear(DayMonth birthday, int yearNumber)
{
    using namespace std::chrono;
    if (!isCalendarDay(birthday))
        return std::nullopt;
    const year theYear{yearNumber};
    int dayNumber = birthday.day;
    if (birthday.month == 2 && birthday.day == 29 && !theYear.is_leap())
        dayNumber = 28;
    const year_month_day date{theYear, month{static_cast<unsigned>(birthday.month)},
                              day{static_cast<unsigned>(dayNumber)}};
    return date.ok() ? std::optional(date) : std::nullopt;
}

std::optional<std::chrono::year_month_day> lastBirthdayBefore(DayMonth birthday,
                                                              std::chrono::year_month_day today)
{
    const int thisYear = static_cast<int>(today.year());
    for (const int yearNumber : {thisYear, thisYear - 1}) {
        const auto date = birthdayInYear(birthday, yearNumber);
        if (date && *date < today)
            return date;
    }
    return std::nullopt;
}

std::optional<int> daysUntilNext(DayMonth birthday, std::chrono::year_month_day today)
{
    using namespace std::chrono;
    if (!isCalendarDay(birthday))
        return std::nullopt;
    const int thisYear = static_cast<int>(today.year());
    year_month_day next = *birthdayInYear(birthday, thisYear);
    if (sys_days{next} < sys_days{today})
        next = *birthdayInYear(birthday, thisYear + 1);
    return static_cast<int>((sys_days{next} - sys_days{today}).count());
}

std::string shortBirthdayText(DayMonth birthday)
{
    return std::to_string(birthday.day) + "/" + std::to_string(birthday.month);
}

std::string leadingNumber(std::string_view age)
{
    while (!age.empty() && isBlank(age.front()))
        age.remove_prefix(1);
    const auto digitsEnd =
        std::find_if(age.begin(), age.end(), [](char c) { return c < '0' || c > '9'; });
    std::string_view digits = age.substr(0, static_cast<size_t>(digitsEnd - age.begin()));
    while (digits.size() > 1 && digits.front() == '0')
        digits.remove_prefix(1);
    return digits.empty() ? std::string("0") : std::string(digits);
}

bool hasLeadingNumber(std::string_view age)
{
    while (!age.empty() && isBlank(age.front()))
        age.remove_prefix(1);
    return !age.empty() && age.front() >= '0' && age.front() <= '9';
}

std::string nextAge(std::string_view age)
{
    std::string number = leadingNumber(age);
    // Decimal increment on the text itself, so that no number of digits can overflow.
    for (auto it = number.rbegin(); it != number.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return number;
        }
        *it = '0';
    }
    return "1" + number;
}

} // namespace contacts
