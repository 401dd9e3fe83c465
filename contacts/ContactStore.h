#pragma once

#include "contacts/ConcurrentEdit.h"
#include "contacts/Contact.h"
#include "contacts/Rewrite.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The manager's side of the contact file: it reads the contacts and writes every change as one
// locked, atomic rewrite (see Rewrite.h). A change finds the stored lines of a contact by the
// rule of ContactIdentity.h, and never drops a line that rule does not give. A replacement whose
// stored line changed meanwhile keeps what the other program changed (see ConcurrentEdit.h).
namespace contacts {

// A line that holds no contact (it lacks a terminator): it is not listed, and every rewrite
// carries it byte for byte.
struct UnreadableLine {
    std::size_t number = 0; // counted from 1
    std::string name;       // the text before its first "§", for the duplicate-name tests
};

// What the contact file holds, as the manager shows it.
struct ContactBook {
    std::vector<Contact> contacts; // in file order
    std::vector<UnreadableLine> unreadable;
};

struct LoadResult {
    enum class Status {
        Read,
        Created, // there was no contact file: an empty one was made
        Missing, // there is no contact file, and none was made
        Failed,  // `error` tells why; the book is empty
    };
    Status status = Status::Failed;
    std::string error;
    ContactBook book;
};

// The answer to a change. Nothing was changed unless it is Written.
struct ChangeAnswer {
    enum class Outcome { Written, Refused, Failed };
    enum class Refusal {
        None,
        ContactGone,      // no stored line stands for the contact any more
        ContactAmbiguous, // several lines could stand for it, and none is its own line
        NameTaken,        // another stored contact bears the name, ignoring case
    };
    Outcome outcome = Outcome::Failed;
    Refusal refusal = Refusal::None;
    std::string error; // Failed: why

    // Written: what the list must now show. The stored lines that left the file (one entry per
    // line) and the contacts that were written, as stored now.
    std::vector<std::string> removedLines;
    std::vector<Contact> addedContacts;
    // Refused, or written over a file that changed since it was last read here (another program
    // wrote it): the list shows this whole book instead.
    std::optional<ContactBook> book;
    // Written and no whole book: the unreadable lines, numbered as the file holds them now.
    std::vector<UnreadableLine> unreadable;
    // Written: contacts whose stored line another program changed meanwhile, where the change
    // overwrote a field both had changed (see ConcurrentEdit.h), for the user to know.
    struct Conflict {
        std::string name;
        std::vector<FieldConflict> fields;
    };
    std::vector<Conflict> conflicts;

    bool written() const { return outcome == Outcome::Written; }
};

// A stored contact and what it becomes.
struct Replacement {
    Contact stored;
    Contact changed;
};

// Several changes that are written together or not at all.
struct ContactBatch {
    std::vector<Contact> additions;
    std::vector<Replacement> replacements;
    // Marker files that stand with the new content (see rewriteContactFileWithMarkers): the
    // birthday markers of contacts whose age already counts today's birthday. A marker that
    // stands there already, or cannot be made, is left out; the change is written all the same.
    std::vector<MarkerFile> markers = {};
    // Contacts whose lines leave the file.
    std::vector<Contact> removals = {};
};

class ContactStore {
public:
    explicit ContactStore(std::filesystem::path programDir);

    const std::filesystem::path& programDir() const { return m_programDir; }

    enum class WhenMissing { Create, Leave };
    // Every contact of the file. A missing file is created empty, or left missing for a reader
    // that waits for it to come back. A failed read changes nothing the store knows.
    LoadResult load(WhenMissing whenMissing = WhenMissing::Create);

    // The new contact becomes the last line. Refused when its name is stored already. The
    // markers stand with it, as a batch's do.
    ChangeAnswer add(const Contact& contact, const RewriteHooks& hooks = {},
                     const std::vector<MarkerFile>& markers = {});
    // The stored contact's lines leave the file and the changed contact becomes the last line.
    ChangeAnswer replace(const Contact& stored, const Contact& changed,
                         const RewriteHooks& hooks = {},
                         const std::vector<MarkerFile>& markers = {});
    // The stored contact's lines leave the file, through "data.tvl2".
    ChangeAnswer remove(const Contact& stored, const RewriteHooks& hooks = {});
    // The removals' lines leave the file; the replacements' contacts, then the additions, become
    // the last lines, in their order.
    ChangeAnswer apply(const ContactBatch& batch, const RewriteHooks& hooks = {});

    // Whether the file is no longer the one last read or written here.
    bool changedOnDisk() const;

    // How every change waits while another program holds the rewrite lock (see FileLock): a
    // window keeps answering meanwhile, and gives up after a while.
    void setWhileLocked(sys::FileLock::KeepWaiting whileLocked)
    {
        m_whileLocked = std::move(whileLocked);
    }

    // Identifies one version of the file: another program's rewrite or a hand edit gives
    // another.
    struct Version {
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        std::int64_t size = -1;
        std::int64_t modifiedNs = 0;
        friend bool operator==(const Version&, const Version&) = default;
    };

private:
    struct Change;
    ChangeAnswer change(TempFile temp, const Change& change, const RewriteHooks& hooks,
                        const std::vector<MarkerFile>& markers = {});
    std::optional<Version> currentVersion() const;

    std::filesystem::path m_programDir;
    std::optional<Version> m_known; // the version the list shows; nothing when it had no file
    std::vector<UnreadableLine> m_unreadable; // those of m_known
    sys::FileLock::KeepWaiting m_whileLocked;
};

} // namespace contacts
