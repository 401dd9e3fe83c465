#pragma once

#include "system/FileLock.h"

#include <filesystem>
#include <optional>
#include <string_view>

namespace platform {

// Held for the life of the process: a second copy of the same program in the same program
// directory does not get it and ends. The kernel drops the lock with the process, so a crashed
// copy never blocks the next start. When the program directory cannot hold the lock file (it is
// read-only), the lock lives in $XDG_RUNTIME_DIR under a name made from the directory's path.
class SingleInstance {
public:
    enum class Outcome {
        First,          // this copy holds the lock
        AlreadyRunning, // another copy holds it
        Unavailable,    // no lock file can be opened anywhere: run without the guard
    };

    static SingleInstance acquire(const std::filesystem::path& programDir,
                                  std::string_view programName);

    Outcome outcome() const { return m_outcome; }
    bool anotherIsRunning() const { return m_outcome == Outcome::AlreadyRunning; }
    // The lock file the copies of this program meet at: a place where a later start can also
    // find the running copy.
    const std::filesystem::path& lockFile() const { return m_lockFile; }

private:
    Outcome m_outcome = Outcome::Unavailable;
    std::optional<sys::FileLock> m_lock;
    std::filesystem::path m_lockFile;
};

// The name of the lock file for a program, in its program directory.
std::filesystem::path instanceLockPath(const std::filesystem::path& programDir,
                                       std::string_view programName);

} // namespace platform
