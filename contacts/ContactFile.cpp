#include "contacts/ContactFile.h"

#include "system/SystemError.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace contacts {
namespace {

// What the user is told when "data.tvl" is something other than a file of contacts.
std::string notAFileReason(mode_t mode)
{
    if (S_ISDIR(mode))
        return "Es una carpeta, no un archivo";
    if (S_ISFIFO(mode))
        return "Es una tubería con nombre (FIFO), no un archivo normal";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "Es un dispositivo, no un archivo normal";
    if (S_ISSOCK(mode))
        return "Es un socket, no un archivo normal";
    return "No es un archivo normal";
}

std::string tooLargeReason()
{
    return "Ocupa más de " + std::to_string(kMaxContactFileBytes >> 20) +
           " MB, el máximo que Tortavela puede leer";
}

} // namespace

std::filesystem::path contactFilePath(const std::filesystem::path& programDir)
{
    return programDir / kContactFileName;
}

OpenedFile openRegularFile(const std::filesystem::path& file)
{
    OpenedFile opened;
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer, forever. It
    // changes nothing for a regular file.
    sys::FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) {
        opened.status =
            errno == ENOENT ? FileContent::Status::Missing : FileContent::Status::Failed;
        opened.error = sys::describeSystemError(errno);
        return opened;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        opened.error = sys::describeSystemError(errno);
        return opened;
    }
    if (!S_ISREG(info.st_mode)) {
        opened.error = notAFileReason(info.st_mode);
        return opened;
    }
    opened.fd = std::move(fd);
    opened.size = static_cast<std::uint64_t>(info.st_size);
    opened.status = FileContent::Status::Read;
    return opened;
}

FileContent readWholeFile(const std::filesystem::path& file)
{
    FileContent content;
    const OpenedFile opened = openRegularFile(file);
    content.status = opened.status;
    content.error = opened.error;
    if (opened.fd.get() < 0)
        return content;
    content.status = FileContent::Status::Failed;
    const auto refuseAsTooLarge = [&content] {
        content.tooLarge = true;
        content.error = tooLargeReason();
        return content;
    };
    if (opened.size > kMaxContactFileBytes)
        return refuseAsTooLarge();

    // The file may grow while it is read: one byte more than its size shows the end, and the
    // limit holds whatever the size said.
    std::string bytes;
    bytes.resize(static_cast<size_t>(opened.size) + 1);
    size_t used = 0;
    for (;;) {
        if (used == bytes.size()) {
            if (used > kMaxContactFileBytes)
                return refuseAsTooLarge();
            bytes.resize(std::min<size_t>(bytes.size() * 2, kMaxContactFileBytes + 1));
        }
        const ssize_t n = ::read(opened.fd.get(), bytes.data() + used, bytes.size() - used);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            content.error = sys::describeSystemError(errno);
            return content;
        }
        if (n == 0)
            break;
        used += static_cast<size_t>(n);
    }
    if (used > kMaxContactFileBytes)
        return refuseAsTooLarge();
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
