#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

// Realistic contact files for the benchmarks: Spanish names and aliases with accents,
// birthdays spread over the year, about 70 bytes a line, always the same for the same seed.
namespace bench {

struct GeneratorOptions {
    std::size_t contacts = 1000;
    std::uint64_t seed = 1;
    // Birthdays never fall on this date or the three days after it, so that the reminder has
    // nothing to announce; unset, birthdays fall on any day.
    bool avoidUpcomingFrom = false;
    std::chrono::year_month_day avoidFrom{};
    // How many contacts have their birthday on `avoidFrom` anyway (today's birthdays).
    std::size_t birthdaysOnAvoidFrom = 0;
};

// The file's bytes (Windows-1252), every line ending in CR LF. Names are unique.
std::string generateContactFile(const GeneratorOptions& options);

} // namespace bench
