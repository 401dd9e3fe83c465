#include "ContactFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace contacts {

std::filesystem::path contactFilePath(const std::filesystem::path& programDir)
{
    return programDir / kContactFileName;
}

FileContent readWholeFile(const std::filesystem::path& file)
{
    FileContent content;
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        content.status =
            errno == ENOENT ? FileContent::Status::Missing : FileContent::Status::Failed;
        content.error = std::strerror(errno);
        return content;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        content.error = S_ISDIR(info.st_mode) ? std::strerror(EISDIR) : "not a regular file";
        ::close(fd);
        return content;
    }
    std::string bytes;
    bytes.resize(static_cast<size_t>(info.st_size) + 1);
    size_t used = 0;
    for (;;) {
        if (used == bytes.size())
            bytes.resize(bytes.size() * 2);
        const ssize_t n = ::read(fd, bytes.data() + used, bytes.size() - used);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            content.error = std::strerror(errno);
            ::close(fd);
            return content;
        }
        if (n == 0)
            break;
        used += static_cast<size_t>(n);
    }
    ::close(fd);
    bytes.resize(used);
    content.bytes = std::move(bytes);
    content.status = FileContent::Status::Read;
    return content;
}

FileContent readContactFile(const std::filesystem::path& programDir)
{
    return readWholeFile(contactFilePath(programDir));
}

bool createEmptyContactFile(const std::filesystem::path& programDir)
{
    const int fd =
        ::open(contactFilePath(programDir).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno == EEXIST;
    ::close(fd);
    return true;
}

} // namespace contacts
