#include "contacts/ContactStore.h"

#include "contacts/ConcurrentEdit.h"
#include "contacts/ContactFile.h"
#include "contacts/ContactIdentity.h"
#include "contacts/DuplicateNames.h"
#include "contacts/Lines.h"

#include <algorithm>
#include <span>
#include <sys/stat.h>

namespace contacts {

struct ContactStore::Change {
    std::span<const Contact> removals;
    std::span<const Replacement> replacements;
    std::span<const Contact> additions;
};

namespace {

using Refusal = ChangeAnswer::Refusal;

UnreadableLine unreadableLine(std::size_t number, std::string_view line)
{
    return {number, std::string(nameOf(line).value_or(std::string_view()))};
}

ContactBook readBook(std::string_view content)
{
    ContactBook book;
    std::size_t number = 0;
    forEachLine(content, [&](std::string_view line) {
        ++number;
        if (auto contact = Contact::fromStoredLine(line))
            book.contacts.push_back(std::move(*contact));
        else
            book.unreadable.push_back(unreadableLine(number, line));
        return true;
    });
    return book;
}

// The new content for the change, or nothing when it is refused. Fills `answer` with what the
// list must show either way. `knownUnreadable`: the unreadable lines of `old` when they are known
// already (the file is the one last read here), which spares reading every line again.
std::optional<std::string> changedContent(std::string_view old, std::span<const Contact> removals,
                                          std::span<const Replacement> replacements,
                                          std::span<const Contact> additions,
                                          const std::vector<UnreadableLine>* knownUnreadable,
                                          ChangeAnswer& answer)
{
    const std::vector<std::string_view> lines = splitLines(old);
    const auto refuse = [&](Refusal why) -> std::optional<std::string> {
        answer.refusal = why;
        answer.book = readBook(old);
        return std::nullopt;
    };

    std::vector<bool> leaving(lines.size(), false);
    const auto claim = [&](const Contact& stored, OwnLines& own) {
        own = ownLines(lines, stored);
        if (own.found == OwnLines::Found::Gone)
            return Refusal::ContactGone;
        if (own.found == OwnLines::Found::Ambiguous)
            return Refusal::ContactAmbiguous;
        for (std::size_t i : own.lines) {
            // Two contacts of one change that stand for the same line: which one is meant?
            if (leaving[i])
                return Refusal::ContactAmbiguous;
            leaving[i] = true;
        }
        return Refusal::None;
    };
    for (const Contact& stored : removals) {
        OwnLines own;
        if (const Refusal why = claim(stored, own); why != Refusal::None)
            return refuse(why);
    }
    // What each replacement writes: the changed contact, merged with what another program
    // stored for it meanwhile.
    std::vector<Contact> replacing;
    replacing.reserve(replacements.size());
    for (const Replacement& replacement : replacements) {
        OwnLines own;
        if (const Refusal why = claim(replacement.stored, own); why != Refusal::None)
            return refuse(why);
        const auto current = own.found == OwnLines::Found::ByName
                                 ? Contact::fromStoredLine(lines[own.lines.front()])
                                 : std::nullopt;
        if (!current || !replacement.stored.isStored()) {
            replacing.push_back(replacement.changed);
            continue;
        }
        MergedEdit merged = mergeConcurrentEdit(replacement.stored, replacement.changed, *current);
        if (!merged.conflicts.empty())
            answer.conflicts.push_back(
                {std::string(merged.contact.name()), std::move(merged.conflicts)});
        replacing.push_back(std::move(merged.contact));
    }

    // A change never stores a name twice: not beside the names that stay, nor twice itself.
    if (!replacements.empty() || !additions.empty()) {
        std::vector<std::string_view> names;
        names.reserve(lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (!leaving[i])
                names.push_back(nameOf(lines[i]).value_or(std::string_view()));
        }
        std::vector<NewName> newNames;
        newNames.reserve(replacements.size() + additions.size());
        for (std::size_t i = 0; i < replacements.size(); ++i)
            newNames.push_back({replacing[i].name(), replacements[i].stored.name()});
        for (const Contact& addition : additions)
            newNames.push_back({addition.name(), std::nullopt});
        if (isAnyNameTaken(names, newNames))
            return refuse(Refusal::NameTaken);
    }

    std::string content;
    content.reserve(old.size() + 2 * lines.size() + 256);
    std::size_t number = 0;
    // Without them, the whole book is read anew below, unreadable lines and all.
    const std::vector<UnreadableLine> noneKnown;
    const std::vector<UnreadableLine>& known = knownUnreadable ? *knownUnreadable : noneKnown;
    auto nextKnown = known.begin();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool unreadable = nextKnown != known.end() && nextKnown->number == i + 1;
        if (unreadable)
            ++nextKnown;
        if (leaving[i]) {
            answer.removedLines.emplace_back(lines[i]);
            continue;
        }
        appendLine(content, lines[i]);
        ++number;
        if (unreadable)
            answer.unreadable.push_back(unreadableLine(number, lines[i]));
    }
    const auto write = [&](const Contact& contact) {
        const std::string line = contact.line();
        appendLine(content, line);
        answer.addedContacts.push_back(*Contact::fromStoredLine(line));
    };
    for (const Contact& replacement : replacing)
        write(replacement);
    for (const Contact& addition : additions)
        write(addition);
    if (!knownUnreadable)
        answer.book = readBook(content);
    return content;
}

} // namespace

ContactStore::ContactStore(std::filesystem::path programDir) : m_programDir(std::move(programDir))
{}

std::optional<ContactStore::Version> ContactStore::currentVersion() const
{
    struct stat info {};
    if (::stat(contactFilePath(m_programDir).c_str(), &info) != 0)
        return std::nullopt;
    return Version{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
                   static_cast<std::int64_t>(info.st_size),
                   static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 +
                       info.st_mtim.tv_nsec};
}

bool ContactStore::changedOnDisk() const
{
    return currentVersion() != m_known;
}

LoadResult ContactStore::load(WhenMissing whenMissing)
{
    LoadResult result;
    // Reading needs no lock, but the version must be the one that was read: a file replaced
    // during the read is read again.
    FileContent file;
    std::optional<Version> version;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const auto before = currentVersion();
        file = readContactFile(m_programDir);
        version = currentVersion();
        if (before == version)
            break;
    }
    switch (file.status) {
    case FileContent::Status::Missing:
        if (whenMissing == WhenMissing::Leave) {
            result.status = LoadResult::Status::Missing;
            return result;
        }
        createEmptyContactFile(m_programDir);
        m_known = currentVersion();
        result.status = LoadResult::Status::Created;
        break;
    case FileContent::Status::Failed:
        result.status = LoadResult::Status::Failed;
        result.error = file.error;
        return result;
    case FileContent::Status::Read:
        m_known = version;
        result.status = LoadResult::Status::Read;
        result.book = readBook(file.bytes);
        break;
    }
    m_unreadable = result.book.unreadable;
    return result;
}

ChangeAnswer ContactStore::change(TempFile temp, const Change& change, const RewriteHooks& hooks,
                                  const std::vector<MarkerFile>& markers)
{
    ChangeAnswer answer;
    std::optional<Version> read;
    std::optional<Version> written;
    RewriteHooks ownHooks = hooks;
    ownHooks.atStep = [&](RewriteStep step) {
        // Still under the lock: no other rewrite can have come in between.
        if (step == RewriteStep::Replaced)
            written = currentVersion();
        return !hooks.atStep || hooks.atStep(step);
    };
    if (!ownHooks.whileLocked)
        ownHooks.whileLocked = m_whileLocked;
    const RewriteResult result = rewriteContactFileWithMarkers(
        m_programDir, temp,
        [&](const FileContent& old,
            const std::vector<MarkerFile>& unmakeable) -> std::optional<MarkedContent> {
            // A round without the markers that could not be made builds the same content anew.
            answer = ChangeAnswer{};
            read = currentVersion();
            const bool changedMeanwhile = read != m_known;
            std::optional<std::string> bytes =
                changedContent(old.bytes, change.removals, change.replacements, change.additions,
                               changedMeanwhile ? nullptr : &m_unreadable, answer);
            if (!bytes)
                return std::nullopt;
            MarkedContent content{std::move(*bytes), {}};
            for (const MarkerFile& marker : markers) {
                if (std::ranges::find(unmakeable, marker) == unmakeable.end())
                    content.markers.push_back(marker);
            }
            return content;
        },
        ownHooks);

    switch (result.outcome) {
    case RewriteResult::Outcome::Written:
        answer.outcome = ChangeAnswer::Outcome::Written;
        m_known = written;
        m_unreadable = answer.book ? answer.book->unreadable : answer.unreadable;
        break;
    case RewriteResult::Outcome::Declined:
        answer.outcome = ChangeAnswer::Outcome::Refused;
        m_known = read; // the list shows the book as read
        m_unreadable = answer.book->unreadable;
        break;
    case RewriteResult::Outcome::Failed:
        answer = ChangeAnswer{};
        answer.outcome = ChangeAnswer::Outcome::Failed;
        answer.error = result.error;
        break;
    }
    return answer;
}

ChangeAnswer ContactStore::add(const Contact& contact, const RewriteHooks& hooks,
                               const std::vector<MarkerFile>& markers)
{
    return change(TempFile::Rewrite, {{}, {}, std::span(&contact, 1)}, hooks, markers);
}

ChangeAnswer ContactStore::replace(const Contact& stored, const Contact& changed,
                                   const RewriteHooks& hooks,
                                   const std::vector<MarkerFile>& markers)
{
    const Replacement replacement{stored, changed};
    return change(TempFile::Rewrite, {{}, std::span(&replacement, 1), {}}, hooks, markers);
}

ChangeAnswer ContactStore::remove(const Contact& stored, const RewriteHooks& hooks)
{
    return change(TempFile::Removal, {std::span(&stored, 1), {}, {}}, hooks);
}

ChangeAnswer ContactStore::apply(const ContactBatch& batch, const RewriteHooks& hooks)
{
    return change(TempFile::Rewrite, {batch.removals, batch.replacements, batch.additions}, hooks,
                  batch.markers);
}

} // namespace contacts
