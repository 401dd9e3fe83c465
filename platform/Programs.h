#pragma once

#include <chrono>

// What the two programs know of each other and of the files installed beside them, in the
// program directory. The contact file's own names stand with it, in contacts/ContactFile.h.
namespace platform {

inline constexpr const char* kManagerName = "Agendela";
inline constexpr const char* kReminderName = "Avisela";

// The reminder's windows, loaded only on a day with something to announce, and its tune.
inline constexpr const char* kReminderWindowsLibrary = "libavisela_windows.so";
inline constexpr const char* kSoundFileName = "Cumple.WAV";

// The reminder starts the manager with this set, to come up minimized for its first show: a
// desktop has no portable way to ask this of another program, so the manager reads it itself.
inline constexpr const char* kStartMinimizedVariable = "TORTAVELA_START_MINIMIZED";

// The daily timer starts the reminder with this set: a start that finds the day's reminders
// already given (the logon start brought the ages up to date today) ends at once, so that windows
// closed in the morning do not come back at the timer's hour.
inline constexpr const char* kDailyStartVariable = "TORTAVELA_DAILY_START";

} // namespace platform
