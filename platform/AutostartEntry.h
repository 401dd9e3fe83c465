#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// The logon registration of the reminder: an XDG autostart entry "Tortavela.desktop" that starts
// Avisela from the program directory when the user logs on.
namespace platform {

inline constexpr const char* kAutostartFileName = "Tortavela.desktop";

// The keys by which the desktops' "Startup applications" settings switch an entry off (Hidden=true
// in KDE, Xfce and LXQt; X-GNOME-Autostart-enabled=false in GNOME and Cinnamon). They are the
// user's choice: a rewrite of the entry keeps them as the user set them.
inline constexpr std::string_view kUserChoiceKeys[] = {"Hidden", "X-GNOME-Autostart-enabled"};

// The lines of the entry's [Desktop Entry] group that set one of kUserChoiceKeys, the first of
// each key, each followed by a line feed.
std::string userChoiceLines(std::string_view entry);

// The user's configuration folder: $XDG_CONFIG_HOME when it is an absolute path, else
// ~/.config.
std::filesystem::path configHome();

// $XDG_CONFIG_HOME/autostart, or ~/.config/autostart when the variable is unset or not absolute.
std::filesystem::path autostartDirectory();

// The value of an Exec key that runs the program at `path` without arguments, quoted and escaped
// as desktop entries require, whatever the path holds (blanks, quotes, "$", "%", "\").
std::string desktopExecValue(const std::filesystem::path& program);

std::string autostartEntryText(const std::filesystem::path& programDir,
                               std::string_view userChoice = {});

struct RegistrationResult {
    bool ok = false;
    std::string error;
};

// Writes the entry anew (through a temporary file and a rename), creating the folder if needed,
// with the user's choice read from the entry that stood there.
RegistrationResult registerReminderAtLogon(const std::filesystem::path& programDir,
                                           const std::filesystem::path& autostartDir);

} // namespace platform
