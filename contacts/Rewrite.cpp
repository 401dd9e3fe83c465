#include "contacts/Rewrite.h"

#include "contacts/BirthdayMarkers.h"
#include "contacts/RewriteJournal.h"
#include "system/DurableWrite.h"
#include "system/FileDescriptor.h"
#include "system/FileLock.h"
#include "system/SystemError.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace contacts {
namespace {

constexpr const char* kInjected = "injected failure";
// Links are followed by hand, as the kernel would, up to its own limit.
constexpr int kMaxLinksFollowed = 40;

std::string systemError()
{
    return sys::describeSystemError(errno);
}

// The file that a rewrite replaces: "data.tvl" itself, or the end of the chain of symbolic
// links it starts, which need not exist yet. Replacing the link would cut it off its target.
std::filesystem::path replacedFile(const std::filesystem::path& contactFile)
{
    std::filesystem::path file = contactFile;
    for (int hop = 0; hop < kMaxLinksFollowed; ++hop) {
        std::error_code error;
        if (!std::filesystem::is_symlink(file, error))
            return file;
        const std::filesystem::path target = std::filesystem::read_symlink(file, error);
        if (error)
            return contactFile;
        file = target.is_absolute() ? target : file.parent_path() / target;
    }
    return contactFile; // a loop: reading it fails, so nothing is replaced
}

// One rewrite under the lock, step by step.
class Rewrite {
public:
    Rewrite(const std::filesystem::path& programDir, TempFile temp, const RewriteHooks& hooks)
        : m_programDir(programDir), m_file(replacedFile(contactFilePath(programDir))),
          m_tempPath(m_file.parent_path() / tempFileName(temp)), m_hooks(hooks)
    {}

    RewriteResult run(const MarkedContentBuilder& build)
    {
        // The manager and the reminder both rewrite through "data2.tvl": the lock keeps their
        // read-modify-write cycles apart. Readers need no lock, since the rename is atomic.
        const auto lock = sys::FileLock::acquireFor(m_programDir, kRewriteLockName,
                                                    sys::FileLock::Mode::Wait, m_hooks.whileLocked);
        if (!lock.lock) {
            RewriteResult locked = failure(lock.error);
            locked.lockHeld = lock.heldByAnother;
            return locked;
        }
        if (!stepOk(RewriteStep::Locked))
            return failure(kInjected);

        const FileContent old = readWholeFile(m_file);
        if (old.status == FileContent::Status::Failed)
            return failure(old.error, old.tooLarge);
        // A rewrite killed between its markers and its rename is settled before anything else
        // reads or changes the file.
        settleJournal(m_programDir,
                      old.ok() ? std::optional<std::string_view>(old.bytes) : std::nullopt);
        if (!stepOk(RewriteStep::Read))
            return failure(kInjected);

        std::vector<MarkerFile> unmakeable;
        for (;;) {
            std::optional<MarkedContent> content = build(old, unmakeable);
            if (!content)
                return RewriteResult{RewriteResult::Outcome::Declined, {}};
            if (content->bytes.size() > kMaxContactFileBytes)
                return failure("El archivo de contactos pasaría de " +
                                   std::to_string(kMaxContactFileBytes >> 20) + " MB",
                               true);
            // Each round has fewer markers to make, or the builder would be asked forever.
            if (std::ranges::find_first_of(content->markers, unmakeable) != content->markers.end())
                return failure("a marker that cannot be made was asked for again");
            if (auto error = writeTempFile(content->bytes, old))
                return abandon(std::move(*error));
            if (content->markers.empty())
                return replace();
            const size_t unmakeableBefore = unmakeable.size();
            if (auto error = makeMarkers(content->bytes, content->markers, unmakeable))
                return abandon(std::move(*error));
            if (unmakeable.size() == unmakeableBefore)
                return replace();
            // Some could not be made: none of this round's stay, and the content is built
            // again without what those stood for.
            rollBackMarkers();
            ::unlink(m_tempPath.c_str());
        }
    }

private:
    bool stepOk(RewriteStep step) const { return !m_hooks.atStep || m_hooks.atStep(step); }

    RewriteResult failure(std::string error, bool tooLarge = false) const
    {
        RewriteResult result{RewriteResult::Outcome::Failed, std::move(error)};
        result.tooLarge = tooLarge;
        return result;
    }

    // Before the rename: nothing of this rewrite stays.
    RewriteResult abandon(std::string why)
    {
        rollBackMarkers();
        ::unlink(m_tempPath.c_str());
        return failure(std::move(why));
    }

    // The complete new content in the temporary file, synced; an error when it is not.
    std::optional<std::string> writeTempFile(std::string_view bytes, const FileContent& old)
    {
        // The new file keeps the permissions of the old one.
        struct stat info {};
        const bool keepMode = old.ok() && ::stat(m_file.c_str(), &info) == 0;
        const mode_t mode = info.st_mode & 07777;

        // A stale temporary file from an earlier crash is replaced, never followed if it is a
        // link.
        ::unlink(m_tempPath.c_str());
        sys::FileDescriptor file(::open(m_tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                                        keepMode ? 0600 : 0666));
        if (file.get() < 0)
            return systemError();
        if (!stepOk(RewriteStep::TempCreated))
            return kInjected;
        if (!sys::writeAll(file.get(), bytes))
            return systemError();
        if (!stepOk(RewriteStep::TempWritten))
            return kInjected;
        if ((keepMode && ::fchmod(file.get(), mode) != 0) || ::fsync(file.get()) != 0)
            return systemError();
        if (!file.close())
            return systemError();
        if (!stepOk(RewriteStep::TempSynced))
            return kInjected;
        return std::nullopt;
    }

    // The journal first, then the markers; those that cannot be made (a journal that cannot be
    // written makes them all so) go to `unmakeable`. An error only for an injected failure.
    std::optional<std::string> makeMarkers(std::string_view bytes,
                                           const std::vector<MarkerFile>& markers,
                                           std::vector<MarkerFile>& unmakeable)
    {
        // The journal names only birthday markers: any other would never be settled.
        const auto isNamed = [](const MarkerFile& marker) {
            return isBirthdayMarkerName(marker.name) &&
                   (marker.fallback.empty() || isBirthdayMarkerName(marker.fallback));
        };
        if (!std::ranges::all_of(markers, isNamed) ||
            !writeJournal(m_programDir, journalFor(bytes, markers))) {
            unmakeable.insert(unmakeable.end(), markers.begin(), markers.end());
            return std::nullopt;
        }
        m_journalWritten = true;
        if (!stepOk(RewriteStep::JournalWritten))
            return kInjected;
        for (const MarkerFile& marker : markers) {
            const bool allowed = !m_hooks.markerCreation || m_hooks.markerCreation(marker);
            if (allowed && makeMarkerFile(m_programDir, marker) == MarkerMade::Made) {
                m_madeMarkers.push_back(marker);
                if (!stepOk(RewriteStep::MarkerMade))
                    return kInjected;
            } else {
                unmakeable.push_back(marker);
            }
        }
        // The markers on the disk before the content that they stand for.
        sys::syncDirectory(m_programDir);
        return std::nullopt;
    }

    // Markers first: a kill in between leaves the journal, which finishes the job.
    void rollBackMarkers()
    {
        for (const MarkerFile& marker : m_madeMarkers)
            removeMarkerFile(m_programDir, marker);
        m_madeMarkers.clear();
        if (m_journalWritten)
            removeJournal(m_programDir);
        m_journalWritten = false;
    }

    RewriteResult replace()
    {
        if (::rename(m_tempPath.c_str(), m_file.c_str()) != 0)
            return abandon(systemError());
        // From here on the new content stands; a hook that fails these steps only tells the
        // caller, and the journal left behind keeps the markers at the next rewrite.
        RewriteResult replaced = failure(kInjected);
        replaced.replaced = true;
        if (!stepOk(RewriteStep::Replaced))
            return replaced;
        // The rename itself is only durable once the directory is synced; a failure here leaves
        // the new content in place, so the rewrite still counts as written.
        sys::syncDirectory(m_file.parent_path());
        if (!stepOk(RewriteStep::DirectorySynced))
            return replaced;
        if (m_journalWritten) {
            removeJournal(m_programDir);
            if (!stepOk(RewriteStep::JournalRemoved))
                return replaced;
        }
        return RewriteResult{RewriteResult::Outcome::Written, {}};
    }

    const std::filesystem::path& m_programDir;
    const std::filesystem::path m_file;
    const std::filesystem::path m_tempPath;
    const RewriteHooks& m_hooks;
    bool m_journalWritten = false;
    std::vector<MarkerFile> m_madeMarkers;
};

} // namespace

std::string_view tempFileName(TempFile temp)
{
    return temp == TempFile::Removal ? kRemovalTempName : kRewriteTempName;
}

RewriteResult rewriteContactFile(const std::filesystem::path& programDir, TempFile temp,
                                 const ContentBuilder& build, const RewriteHooks& hooks)
{
    return rewriteContactFileWithMarkers(
        programDir, temp,
        [&build](const FileContent& old,
                 const std::vector<MarkerFile>&) -> std::optional<MarkedContent> {
            std::optional<std::string> bytes = build(old);
            if (!bytes)
                return std::nullopt;
            return MarkedContent{std::move(*bytes), {}};
        },
        hooks);
}

RewriteResult rewriteContactFileWithMarkers(const std::filesystem::path& programDir, TempFile temp,
                                            const MarkedContentBuilder& build,
                                            const RewriteHooks& hooks)
{
    return Rewrite(programDir, temp, hooks).run(build);
}

} // namespace contacts
