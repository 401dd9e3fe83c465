#pragma once

#include <filesystem>

namespace reminder {

// Starts Agendela from the program directory, detached, without arguments. Returns at once and
// tells nothing: the reminder ends whether or not the manager started.
void startManagerMinimized(const std::filesystem::path& programDir);

} // namespace reminder
