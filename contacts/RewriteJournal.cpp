#include "contacts/RewriteJournal.h"

#include "contacts/BirthdayMarkers.h"
#include "system/DurableWrite.h"
#include "system/FileDescriptor.h"
#include "system/Hash64.h"

#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace contacts {
namespace {

constexpr std::string_view kHeader = "Tortavela journal 1\n";
constexpr std::string_view kEnd = "end\n";
// Marker names never hold these (they are file names without control characters).
constexpr char kFieldSeparator = '\t';
constexpr char kLineEnd = '\n';

std::string journalTempName()
{
    return std::string(kJournalName) + ".tmp";
}

std::string serialized(const RewriteJournal& journal)
{
    std::string text(kHeader);
    text +=
        std::to_string(journal.size) + kFieldSeparator + std::to_string(journal.hash) + kLineEnd;
    for (const MarkerFile& marker : journal.markers)
        text += marker.name + kFieldSeparator + marker.fallback + kLineEnd;
    text += kEnd;
    return text;
}

// Takes the text up to `separator` off `rest`.
std::optional<std::string_view> takeUntil(std::string_view& rest, char separator)
{
    const size_t at = rest.find(separator);
    if (at == std::string_view::npos)
        return std::nullopt;
    const std::string_view taken = rest.substr(0, at);
    rest.remove_prefix(at + 1);
    return taken;
}

std::optional<std::uint64_t> number(std::string_view text)
{
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

std::optional<RewriteJournal> parsed(std::string_view text)
{
    if (!text.starts_with(kHeader) || !text.ends_with(kEnd))
        return std::nullopt;
    text.remove_prefix(kHeader.size());
    text.remove_suffix(kEnd.size());
    RewriteJournal journal;
    const auto size = takeUntil(text, kFieldSeparator);
    const auto hash = takeUntil(text, kLineEnd);
    const auto sizeValue = size ? number(*size) : std::nullopt;
    const auto hashValue = hash ? number(*hash) : std::nullopt;
    if (!sizeValue || !hashValue)
        return std::nullopt;
    journal.size = *sizeValue;
    journal.hash = *hashValue;
    while (!text.empty()) {
        const auto name = takeUntil(text, kFieldSeparator);
        const auto fallback = takeUntil(text, kLineEnd);
        // Only a marker that a rewrite makes is ever removed on a journal's word: never a file of
        // the program's own, a path that leaves the directory, or anything else a hand put there.
        if (!name || !fallback || !isBirthdayMarkerName(*name) ||
            (!fallback->empty() && !isBirthdayMarkerName(*fallback)))
            return std::nullopt;
        journal.markers.push_back(MarkerFile{std::string(*name), std::string(*fallback)});
    }
    return journal;
}

} // namespace

bool RewriteJournal::describes(std::string_view content) const
{
    return content.size() == size && sys::hash64(content) == hash;
}

RewriteJournal journalFor(std::string_view newContent, std::vector<MarkerFile> markers)
{
    return RewriteJournal{newContent.size(), sys::hash64(newContent), std::move(markers)};
}

bool writeJournal(const std::filesystem::path& dir, const RewriteJournal& journal)
{
    // The journal must be on the disk before any marker it names.
    return sys::replaceFile(dir / kJournalName, serialized(journal));
}

std::optional<RewriteJournal> readJournal(const std::filesystem::path& dir)
{
    // Only a journal this user wrote: never one reached through a link, nor one another user of
    // a shared directory put there.
    sys::FileDescriptor fd(
        ::open((dir / kJournalName).c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    // A journal names a day's birthday markers: far below this, unless it is not ours.
    constexpr off_t kMaxJournalBytes = 16 << 20;
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_uid != ::geteuid() || info.st_size > kMaxJournalBytes)
        return std::nullopt;
    std::string text(static_cast<size_t>(info.st_size), '\0');
    size_t used = 0;
    while (used < text.size()) {
        const ssize_t n = ::read(fd.get(), text.data() + used, text.size() - used);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return std::nullopt;
        used += static_cast<size_t>(n);
    }
    return parsed(text);
}

void removeJournal(const std::filesystem::path& dir)
{
    ::unlink((dir / kJournalName).c_str());
}

void settleJournal(const std::filesystem::path& dir, std::optional<std::string_view> current)
{
    const std::optional<RewriteJournal> journal = readJournal(dir);
    if (journal && !(current && journal->describes(*current))) {
        for (const MarkerFile& marker : journal->markers)
            removeMarkerFile(dir, marker);
    }
    // Markers gone before the journal: a kill in between leaves a journal to settle again.
    removeJournal(dir);
    ::unlink((dir / journalTempName()).c_str());
}

} // namespace contacts
