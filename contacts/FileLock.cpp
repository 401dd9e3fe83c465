#include "FileLock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace contacts {

FileLock::Attempt FileLock::acquire(const std::filesystem::path& lockFile, Mode mode)
{
    Attempt attempt;
    const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        attempt.error = std::strerror(errno);
        return attempt;
    }
    const int operation = mode == Mode::Wait ? LOCK_EX : LOCK_EX | LOCK_NB;
    int rc;
    do {
        rc = ::flock(fd, operation);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        attempt.heldByAnother = errno == EWOULDBLOCK;
        attempt.error = std::strerror(errno);
        ::close(fd);
        return attempt;
    }
    attempt.lock = FileLock(fd);
    return attempt;
}

FileLock::FileLock(FileLock&& other) noexcept : m_fd(other.m_fd)
{
    other.m_fd = -1;
}

FileLock& FileLock::operator=(FileLock&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = other.m_fd;
        other.m_fd = -1;
    }
    return *this;
}

FileLock::~FileLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

} // namespace contacts
