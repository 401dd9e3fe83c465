#pragma once

#include <chrono>
#include <string>

// The reminder builds file names from dates as plain decimal numbers without leading zeros.
namespace reminder {

using Date = std::chrono::year_month_day;

inline int dayOf(Date date)
{
    return static_cast<int>(static_cast<unsigned>(date.day()));
}

inline int monthOf(Date date)
{
    return static_cast<int>(static_cast<unsigned>(date.month()));
}

inline int yearOf(Date date)
{
    return static_cast<int>(date.year());
}

inline Date daysAfter(Date date, int days)
{
    return Date{std::chrono::sys_days{date} + std::chrono::days{days}};
}

} // namespace reminder
