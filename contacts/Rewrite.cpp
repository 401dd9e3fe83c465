#include "Rewrite.h"

#include "FileDescriptor.h"
#include "FileLock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace contacts {
namespace {

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

RewriteResult failure(std::string error)
{
    return RewriteResult{RewriteResult::Outcome::Failed, std::move(error)};
}

std::string systemError()
{
    return std::strerror(errno);
}

} // namespace

std::string_view tempFileName(TempFile temp)
{
    return temp == TempFile::Removal ? kRemovalTempName : kRewriteTempName;
}

RewriteResult rewriteContactFile(const std::filesystem::path& programDir, TempFile temp,
                                 const ContentBuilder& build, const RewriteHooks& hooks)
{
    const auto stepOk = [&](RewriteStep step) { return !hooks.atStep || hooks.atStep(step); };
    constexpr const char* kInjected = "injected failure";

    // The manager and the reminder both rewrite through "data2.tvl": the lock keeps their
    // read-modify-write cycles apart. Readers need no lock, since the rename is atomic.
    const auto lock = FileLock::acquire(programDir / kRewriteLockName, FileLock::Mode::Wait);
    if (!lock.lock)
        return failure(lock.error);
    if (!stepOk(RewriteStep::Locked))
        return failure(kInjected);

    const std::filesystem::path target = contactFilePath(programDir);
    const FileContent old = readWholeFile(target);
    if (old.status == FileContent::Status::Failed)
        return failure(old.error);
    if (!stepOk(RewriteStep::Read))
        return failure(kInjected);

    std::optional<std::string> content = build(old);
    if (!content)
        return RewriteResult{RewriteResult::Outcome::Declined, {}};

    // The new file keeps the permissions of the old one.
    struct stat info {};
    const bool keepMode = old.ok() && ::stat(target.c_str(), &info) == 0;
    const mode_t mode = info.st_mode & 07777;

    const std::filesystem::path tempPath = programDir / tempFileName(temp);
    // A stale temporary file from an earlier crash is replaced, never followed if it is a link.
    ::unlink(tempPath.c_str());
    FileDescriptor file(
        ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, keepMode ? 0600 : 0666));
    if (file.get() < 0)
        return failure(systemError());
    const auto abandon = [&](std::string why) {
        file.close();
        ::unlink(tempPath.c_str());
        return failure(std::move(why));
    };
    if (!stepOk(RewriteStep::TempCreated))
        return abandon(kInjected);
    if (!writeAll(file.get(), *content))
        return abandon(systemError());
    if (!stepOk(RewriteStep::TempWritten))
        return abandon(kInjected);
    if ((keepMode && ::fchmod(file.get(), mode) != 0) || ::fsync(file.get()) != 0)
        return abandon(systemError());
    if (!file.close())
        return abandon(systemError());
    if (!stepOk(RewriteStep::TempSynced))
        return abandon(kInjected);

    if (::rename(tempPath.c_str(), target.c_str()) != 0)
        return abandon(systemError());
    // From here on the new content stands; a hook that fails these steps only tells the caller.
    if (!stepOk(RewriteStep::Replaced))
        return failure(kInjected);

    // The rename itself is only durable once the directory is synced; a failure here leaves
    // the new content in place, so the rewrite still counts as written.
    FileDescriptor dir(::open(programDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0)
        ::fsync(dir.get());
    if (!stepOk(RewriteStep::DirectorySynced))
        return failure(kInjected);
    return RewriteResult{RewriteResult::Outcome::Written, {}};
}

} // namespace contacts
