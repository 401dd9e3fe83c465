#include "FileLock.h"

#include "Hash64.h"
#include "SystemError.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>

namespace contacts {
namespace {

int openLockFile(const std::filesystem::path& lockFile)
{
    const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd >= 0 || (errno != EROFS && errno != EACCES && errno != EPERM))
        return fd;
    // flock needs no write access: a lock file made while the directory was writable serves.
    return ::open(lockFile.c_str(), O_RDONLY | O_CLOEXEC);
}

} // namespace

FileLock::Attempt FileLock::acquire(const std::filesystem::path& lockFile, Mode mode)
{
    Attempt attempt;
    attempt.file = lockFile;
    FileDescriptor fd(openLockFile(lockFile));
    if (fd.get() < 0) {
        attempt.error = describeSystemError(errno);
        return attempt;
    }
    const int operation = mode == Mode::Wait ? LOCK_EX : LOCK_EX | LOCK_NB;
    int rc;
    do {
        rc = ::flock(fd.get(), operation);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        attempt.heldByAnother = errno == EWOULDBLOCK;
        attempt.error = describeSystemError(errno);
        return attempt;
    }
    attempt.lock = FileLock(std::move(fd));
    return attempt;
}

std::filesystem::path runtimeLockFile(const std::filesystem::path& dir, std::string_view name)
{
    const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
    if (!runtimeDir || *runtimeDir != '/')
        return {};
    std::error_code error;
    std::filesystem::path real = std::filesystem::weakly_canonical(dir, error);
    if (error)
        real = std::filesystem::absolute(dir, error);
    char tag[17];
    std::snprintf(tag, sizeof tag, "%016llx",
                  static_cast<unsigned long long>(hash64(real.native())));
    return std::filesystem::path(runtimeDir) /
           ("tortavela-" + std::string(tag) + "-" + std::string(name));
}

FileLock::Attempt FileLock::acquireFor(const std::filesystem::path& dir, std::string_view name,
                                       Mode mode)
{
    Attempt attempt = acquire(dir / name, mode);
    if (attempt.lock || attempt.heldByAnother)
        return attempt;
    const std::filesystem::path fallback = runtimeLockFile(dir, name);
    if (fallback.empty())
        return attempt;
    return acquire(fallback, mode);
}

} // namespace contacts
