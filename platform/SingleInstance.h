#pragma once

#include "FileLock.h"

#include <filesystem>
#include <optional>
#include <string_view>

namespace platform {

// Held for the life of the process: a second copy of the same program in the same program
// directory does not get it and ends. The kernel drops the lock with the process, so a crashed
// copy never blocks the next start.
class SingleInstance {
public:
    enum class Outcome {
        First,          // this copy holds the lock
        AlreadyRunning, // another copy holds it
        Unavailable,    // the lock file cannot be opened: run without the guard
    };

    static SingleInstance acquire(const std::filesystem::path& programDir,
                                  std::string_view programName);

    Outcome outcome() const { return m_outcome; }
    bool anotherIsRunning() const { return m_outcome == Outcome::AlreadyRunning; }

private:
    Outcome m_outcome = Outcome::Unavailable;
    std::optional<contacts::FileLock> m_lock;
};

// The name of the lock file for a program, in its program directory.
std::filesystem::path instanceLockPath(const std::filesystem::path& programDir,
                                       std::string_view programName);

} // namespace platform
