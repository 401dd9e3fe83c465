#pragma once

#include "system/FileDescriptor.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace sys {

// An advisory lock on a lock file (flock). The kernel releases it when the process ends, so a
// crashed holder never blocks anybody. The descriptor is closed on exec, so that a program
// started by the holder does not inherit the lock.
//
// A lock file is this user's own: made 0600, opened without following a link, and used only when
// it is a regular file owned by this user. Anybody who could open it could hold it, and block or
// silence the programs; a link could make the programs create a file wherever it points.
class FileLock {
public:
    // Asked about every few milliseconds while another process holds the lock, with the time
    // waited so far; false gives up.
    using KeepWaiting = std::function<bool(std::chrono::milliseconds waited)>;

    enum class Mode { Wait, TryOnce };

    struct Attempt;

    // With TryOnce, gives up at once when another process holds the lock. With Wait, waits as
    // long as `keepWaiting` says, or kDefaultPatience without one: never without bound. An
    // existing lock file that cannot be written (a read-only directory) still locks.
    static Attempt acquire(const std::filesystem::path& lockFile, Mode mode,
                           const KeepWaiting& keepWaiting = {});

    // The lock `name` of a directory: the lock file in that directory, or, when none can be made
    // or used there (the directory is read-only, or the name is taken by a link or by another
    // user's file), one in $XDG_RUNTIME_DIR whose name carries the directory's path, so that
    // every process working on the directory still meets the others' lock.
    static Attempt acquireFor(const std::filesystem::path& dir, std::string_view name, Mode mode,
                              const KeepWaiting& keepWaiting = {});

    // How long Wait waits without a KeepWaiting: far longer than any rewrite holds the lock.
    static constexpr std::chrono::seconds kDefaultPatience{10};

private:
    explicit FileLock(FileDescriptor fd) : m_fd(std::move(fd)) {}
    FileDescriptor m_fd;
};

struct FileLock::Attempt {
    std::optional<FileLock> lock;
    bool heldByAnother = false; // another process holds it: TryOnce, or Wait gave up
    std::string error;          // why the lock file could not be used, or who holds it
    std::filesystem::path file; // the lock file tried last
};

// Where acquireFor turns when `dir` cannot hold the lock file; empty without $XDG_RUNTIME_DIR.
std::filesystem::path runtimeLockFile(const std::filesystem::path& dir, std::string_view name);

} // namespace sys
