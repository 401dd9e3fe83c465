#pragma once

#include "FileDescriptor.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace contacts {

// An advisory lock on a lock file (flock). The kernel releases it when the process ends, so a
// crashed holder never blocks anybody. The descriptor is closed on exec, so that a program
// started by the holder does not inherit the lock.
class FileLock {
public:
    enum class Mode { Wait, TryOnce };

    struct Attempt;

    // With TryOnce, gives up at once when another process holds the lock. An existing lock file
    // that cannot be written (a read-only directory) still locks.
    static Attempt acquire(const std::filesystem::path& lockFile, Mode mode);

    // The lock `name` of a directory: the lock file in that directory, or, when none can be made
    // or opened there (the directory is read-only), one in $XDG_RUNTIME_DIR whose name carries
    // the directory's path, so that every process working on the directory still meets the
    // others' lock.
    static Attempt acquireFor(const std::filesystem::path& dir, std::string_view name, Mode mode);

private:
    explicit FileLock(FileDescriptor fd) : m_fd(std::move(fd)) {}
    FileDescriptor m_fd;
};

struct FileLock::Attempt {
    std::optional<FileLock> lock;
    bool heldByAnother = false; // TryOnce only
    std::string error;          // why the lock file could not be used
    std::filesystem::path file; // the lock file tried last
};

// Where acquireFor turns when `dir` cannot hold the lock file; empty without $XDG_RUNTIME_DIR.
std::filesystem::path runtimeLockFile(const std::filesystem::path& dir, std::string_view name);

} // namespace contacts
