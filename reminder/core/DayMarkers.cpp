#include "reminder/core/DayMarkers.h"

#include <fcntl.h>
#include <unistd.h>

namespace reminder {
namespace {

constexpr int kDecember = 12;

std::string markerName(int day, int month)
{
    return std::to_string(day) + std::to_string(month) + ".tvl";
}

} // namespace

std::string dayMarkerName(Date date)
{
    return markerName(dayOf(date), monthOf(date));
}

std::string lastMonthsDayMarkerName(Date today)
{
    const int month = monthOf(today);
    return markerName(dayOf(today), month == 1 ? kDecember : month - 1);
}

void deleteLastMonthsDayMarker(const std::filesystem::path& programDir, Date today)
{
    ::unlink((programDir / lastMonthsDayMarkerName(today)).c_str());
}

bool createDayMarker(const std::filesystem::path& programDir, Date today)
{
    const auto path = programDir / dayMarkerName(today);
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

} // namespace reminder
