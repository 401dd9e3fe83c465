#include "reminder/core/AgeDays.h"

#include "system/DurableWrite.h"
#include "system/FileDescriptor.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace reminder {
namespace {

// "2026-12-07\n".
constexpr std::size_t kDayTextSize = 11;

std::string dayText(Date day)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d\n", yearOf(day), monthOf(day), dayOf(day));
    return text;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::optional<Date> parseDayText(std::string_view text)
{
    if (text.size() != kDayTextSize || text[4] != '-' || text[7] != '-' || text[10] != '\n')
        return std::nullopt;
    int numbers[3] = {};
    const std::size_t starts[3] = {0, 5, 8};
    const std::size_t lengths[3] = {4, 2, 2};
    for (int part = 0; part < 3; ++part) {
        for (std::size_t i = starts[part]; i < starts[part] + lengths[part]; ++i) {
            if (!isDigit(text[i]))
                return std::nullopt;
            numbers[part] = numbers[part] * 10 + (text[i] - '0');
        }
    }
    const Date day{std::chrono::year{numbers[0]},
                   std::chrono::month{static_cast<unsigned>(numbers[1])},
                   std::chrono::day{static_cast<unsigned>(numbers[2])}};
    if (!day.ok())
        return std::nullopt;
    return day;
}

int daysBetween(Date from, Date to)
{
    return static_cast<int>((std::chrono::sys_days{to} - std::chrono::sys_days{from}).count());
}

} // namespace

std::optional<Date> readAgesUpToDate(const std::filesystem::path& programDir)
{
    // Never through a link, never a FIFO that would hold the start.
    const sys::FileDescriptor fd(::open((programDir / kAgesUpToDateFileName).c_str(),
                                        O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0)
        return std::nullopt;
    std::array<char, kDayTextSize + 1> text{};
    std::size_t size = 0;
    for (;;) {
        const ssize_t got = ::read(fd.get(), text.data() + size, text.size() - size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        size += static_cast<std::size_t>(got);
        if (size == text.size())
            break;
    }
    return parseDayText(std::string_view(text.data(), size));
}

bool recordAgesUpToDate(const std::filesystem::path& programDir, Date day)
{
    if (readAgesUpToDate(programDir) == day)
        return true;
    const auto target = programDir / kAgesUpToDateFileName;
    auto temp = target;
    temp += ".new";
    const std::string text = dayText(day);
    bool written = false;
    {
        const sys::FileDescriptor fd(
            ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644));
        if (fd.get() < 0)
            return false;
        written = sys::writeAll(fd.get(), text) && ::fsync(fd.get()) == 0;
    }
    if (!written || ::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    // The directory is not synced: a day lost in a crash is an older day, which only widens the
    // next catch-up, and the markers keep that from advancing anything twice.
    return true;
}

AgeDays planAgeDays(std::optional<Date> remembered, Date today)
{
    AgeDays days;
    if (!remembered)
        return days;
    const int since = daysBetween(*remembered, today);
    if (since < 0) {
        days.agesMayChange = false;
        days.firstStartOfTheDay = false;
        days.firstStartOfTheMonth = false;
        return days;
    }
    days.firstStartOfTheDay = since > 0;
    days.firstStartOfTheMonth = since > 0 && (yearOf(*remembered) != yearOf(today) ||
                                              monthOf(*remembered) != monthOf(today));
    // Yesterday remembered leaves no day between.
    if (since >= 2)
        days.catchUpAfter =
            since > kLongestCatchUp ? daysAfter(today, -kLongestCatchUp) : *remembered;
    return days;
}

std::optional<Date> birthdayBetween(contacts::DayMonth birthday, Date after, Date before)
{
    const auto last = contacts::lastBirthdayBefore(birthday, before);
    return last && *last > after ? last : std::nullopt;
}

Date oldestMarkerKept(Date today)
{
    return daysAfter(today, -kLongestCatchUp);
}

std::string weekdayAndDate(Date date)
{
    static constexpr const char* kWeekdays[] = {"domingo", "lunes",   "martes", "miércoles",
                                                "jueves",  "viernes", "sábado"};
    const std::chrono::weekday weekday{std::chrono::sys_days{date}};
    return std::string(kWeekdays[weekday.c_encoding()]) + " " + std::to_string(dayOf(date)) + "/" +
           std::to_string(monthOf(date));
}

} // namespace reminder
