#pragma once

#include <filesystem>

// Asks Agendela to come up minimized for its first show; a desktop has no portable way to ask
// this of another program, so the manager reads the variable itself.
inline constexpr const char* kStartMinimizedVariable = "TORTAVELA_START_MINIMIZED";
inline constexpr const char* kManagerProgramName = "Agendela";

// Starts Agendela from the program directory, detached, without arguments. Returns at once and
// tells nothing: the reminder ends whether or not the manager started.
void startManagerMinimized(const std::filesystem::path& programDir);
