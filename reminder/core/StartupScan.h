#pragma once

#include "reminder/core/DueBirthdays.h"

#include <filesystem>
#include <optional>

// The reminder's start-up after its single-instance guard: last month's day marker goes, then
// the contact file is scanned for birthdays today and in the next three days.
namespace reminder {

struct ScanResult {
    enum class Status { Scanned, Missing, Failed };
    Status status = Status::Failed;
    DueBirthdays due;
};

// Reads the contact file of the program directory from its first line to its last; with
// `catchUpAfter`, the birthdays after that day and before today are listed as missed too.
ScanResult scanContactFile(const std::filesystem::path& programDir, Date today,
                           std::optional<Date> catchUpAfter = std::nullopt);

// deletecomayer and the scan. A missing contact file leaves today's day marker and is looked
// for once more; nothing when there is still none or it cannot be read. The caller shows the
// windows when the result holds any name and ends otherwise.
std::optional<DueBirthdays> runStartup(const std::filesystem::path& programDir, Date today,
                                       std::optional<Date> catchUpAfter = std::nullopt);

} // namespace reminder
