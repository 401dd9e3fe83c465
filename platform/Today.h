#pragma once

#include <chrono>

namespace platform {

// The computer's local calendar date now. The core takes the date as a parameter; only the
// programs' entry points ask the clock.
std::chrono::year_month_day localToday();

} // namespace platform
