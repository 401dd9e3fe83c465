#include "platform/SingleInstance.h"

#include <string>

namespace platform {

std::filesystem::path instanceLockPath(const std::filesystem::path& programDir,
                                       std::string_view programName)
{
    return programDir / ("." + std::string(programName) + ".lock");
}

SingleInstance SingleInstance::acquire(const std::filesystem::path& programDir,
                                       std::string_view programName)
{
    SingleInstance instance;
    auto attempt = sys::FileLock::acquireFor(
        programDir, instanceLockPath(programDir, programName).filename().native(),
        sys::FileLock::Mode::TryOnce);
    instance.m_lockFile = attempt.file;
    if (attempt.lock) {
        instance.m_lock = std::move(attempt.lock);
        instance.m_outcome = Outcome::First;
    } else if (attempt.heldByAnother) {
        instance.m_outcome = Outcome::AlreadyRunning;
    }
    // Otherwise no lock file can be made at all: the program runs unguarded rather than not at
    // all.
    return instance;
}

} // namespace platform
