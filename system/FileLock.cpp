#include "system/FileLock.h"

#include "system/Hash64.h"
#include "system/SystemError.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>

namespace sys {
namespace {

// A rewrite holds the lock for milliseconds: short waits first, then no busier than this.
constexpr auto kFirstPoll = std::chrono::milliseconds(1);
constexpr auto kLongestPoll = std::chrono::milliseconds(25);

constexpr const char* kNotOwnReason =
    "El archivo de bloqueo no es un archivo propio del usuario (un enlace, o de otro usuario)";
constexpr const char* kHeldReason = "Otro programa tiene ocupado el archivo de contactos";

int openLockFile(const std::filesystem::path& lockFile)
{
    const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0 || (errno != EROFS && errno != EACCES && errno != EPERM))
        return fd;
    // flock needs no write access: a lock file made while the directory was writable serves.
    return ::open(lockFile.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
}

// Only a regular file of this user's, readable by nobody else: whoever can open a lock file can
// hold it. One made by an older version (0644) is closed to the others here.
bool isOwnLockFile(int fd)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid())
        return false;
    return (info.st_mode & 077) == 0 || ::fchmod(fd, 0600) == 0;
}

int tryLock(int fd)
{
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    return rc == 0 ? 0 : errno;
}

} // namespace

FileLock::Attempt FileLock::acquire(const std::filesystem::path& lockFile, Mode mode,
                                    const KeepWaiting& keepWaiting)
{
    Attempt attempt;
    attempt.file = lockFile;
    FileDescriptor fd(openLockFile(lockFile));
    if (fd.get() < 0) {
        attempt.error = errno == ELOOP ? kNotOwnReason : describeSystemError(errno);
        return attempt;
    }
    if (!isOwnLockFile(fd.get())) {
        attempt.error = kNotOwnReason;
        return attempt;
    }
    const auto start = std::chrono::steady_clock::now();
    auto poll = kFirstPoll;
    for (;;) {
        const int error = tryLock(fd.get());
        if (error == 0)
            break;
        if (error != EWOULDBLOCK) {
            attempt.error = describeSystemError(error);
            return attempt;
        }
        const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
        const bool goOn =
            mode == Mode::Wait && (keepWaiting ? keepWaiting(waited) : waited < kDefaultPatience);
        if (!goOn) {
            attempt.heldByAnother = true;
            attempt.error = kHeldReason;
            return attempt;
        }
        std::this_thread::sleep_for(poll);
        poll = std::min(poll * 2, kLongestPoll);
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
                                       Mode mode, const KeepWaiting& keepWaiting)
{
    Attempt attempt = acquire(dir / name, mode, keepWaiting);
    if (attempt.lock || attempt.heldByAnother)
        return attempt;
    const std::filesystem::path fallback = runtimeLockFile(dir, name);
    if (fallback.empty())
        return attempt;
    return acquire(fallback, mode, keepWaiting);
}

} // namespace sys
