#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace contacts {

// An advisory lock on a lock file (flock). The kernel releases it when the process ends, so a
// crashed holder never blocks anybody. The descriptor is closed on exec, so that a program
// started by the holder does not inherit the lock.
class FileLock {
public:
    enum class Mode { Wait, TryOnce };

    struct Attempt;

    // With TryOnce, gives up at once when another process holds the lock.
    static Attempt acquire(const std::filesystem::path& lockFile, Mode mode);

    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();

private:
    explicit FileLock(int fd) : m_fd(fd) {}
    int m_fd = -1;
};

struct FileLock::Attempt {
    std::optional<FileLock> lock;
    bool heldByAnother = false; // TryOnce only
    std::string error;          // why the lock file could not be used
};

} // namespace contacts
