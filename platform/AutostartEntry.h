#pragma once

#include <filesystem>
#include <string>

// The logon registration of the reminder: an XDG autostart entry "Tortavela.desktop" that starts
// Avisela from the program directory when the user logs on.
namespace platform {

inline constexpr const char* kAutostartFileName = "Tortavela.desktop";

// $XDG_CONFIG_HOME/autostart, or ~/.config/autostart when the variable is unset or not absolute.
std::filesystem::path autostartDirectory();

// The value of an Exec key that runs the program at `path` without arguments, quoted and escaped
// as desktop entries require, whatever the path holds (blanks, quotes, "$", "%", "\").
std::string desktopExecValue(const std::filesystem::path& program);

std::string autostartEntryText(const std::filesystem::path& programDir);

struct RegistrationResult {
    bool ok = false;
    std::string error;
};

// Writes the entry anew (through a temporary file and a rename), creating the folder if needed.
RegistrationResult registerReminderAtLogon(const std::filesystem::path& programDir,
                                           const std::filesystem::path& autostartDir);

} // namespace platform
