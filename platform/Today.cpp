#include "platform/Today.h"

#include <ctime>

namespace platform {

std::chrono::year_month_day localToday()
{
    using namespace std::chrono;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    return year_month_day{year{local.tm_year + 1900},
                          month{static_cast<unsigned>(local.tm_mon + 1)},
                          day{static_cast<unsigned>(local.tm_mday)}};
}

} // namespace platform
