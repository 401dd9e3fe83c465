#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

// The reminder's daily start while a session stays open: a systemd user timer that starts Avisela
// every morning and, Persistent=true, at the first moment after a morning it missed (the
// computer off, or suspended). Its units are installed with the programs; the manager's start
// enables the timer once, as it registers the logon start.
//
// Enabled once, not at every start: a user who switched it off (systemctl --user disable) keeps
// it off. The manager tells "never enabled yet" from "switched off by the user" by a small file
// in the program directory, made when the timer was enabled; the uninstall removes it with the
// timer. Where no systemd user instance answers (a container, a desktop without systemd) nothing
// is done, nothing is recorded, and the next start asks again.
namespace platform {

inline constexpr const char* kDailyTimerUnit = "tortavela-avisela.timer";
inline constexpr const char* kDailyTimerEnabledFileName = "daily-timer-enabled";

// How long one call of systemctl may take before it is given up (a user instance that hangs).
inline constexpr std::chrono::seconds kSystemctlPatience{10};

enum class DailyTimerEnabling {
    EnabledBefore,  // the file says so: the user's choice stands, nothing asked
    NoUserInstance, // systemctl is missing or no systemd user instance answers
    Enabled,        // enabled and started now, and recorded
    Failed,         // the instance answered but did not enable it (no such unit, say)
};

// Runs `systemctl` (a program name looked for on PATH, or a path) as described above.
DailyTimerEnabling enableDailyTimerOnce(const std::filesystem::path& programDir,
                                        const std::string& systemctl);

// Runs a command with no input and its output discarded; gives its exit code, or -1 when it
// could not run, ended by a signal or outlasted `patience` (it is then killed).
int runQuietly(const std::vector<std::string>& command, std::chrono::milliseconds patience);

} // namespace platform
