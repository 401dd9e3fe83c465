#pragma once

#include "contacts/Record.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace contacts {

// One contact of the contact file. A contact read from the file remembers the exact line it was
// read from, byte for byte with any text after its eighth terminator: records have no key, so
// that line is how the file finds the contact again.
//
// The fields are views into that one line, so that a list of 100,000 contacts costs one small
// allocation per contact.
class Contact {
public:
    using Values = Fields;

    // A contact that is not stored yet. The values must be storable (isStorableValue).
    explicit Contact(const Values& values);

    // The contact a stored line holds. Nothing when the line lacks one of the terminators of the
    // first seven fields; when only the eighth is missing, the rest of the line is the note.
    static std::optional<Contact> fromStoredLine(std::string_view line);

    std::string_view field(ContactField which) const;
    std::string_view name() const { return field(ContactField::Name); }
    std::string_view alias() const { return field(ContactField::Alias); }
    std::string_view age() const { return field(ContactField::Age); }
    std::string_view birthday() const { return field(ContactField::Birthday); }
    std::string_view phone() const { return field(ContactField::Phone); }
    std::string_view address() const { return field(ContactField::Address); }
    std::string_view email() const { return field(ContactField::Email); }
    std::string_view note() const { return field(ContactField::Note); }
    Values values() const;

    // The line that stores the contact: each field followed by "§", without the line end.
    std::string line() const;

    // Whether the contact was read from the file; only then has it a stored line.
    bool isStored() const { return m_stored; }
    // The line it was read from, exactly; empty for a contact not stored yet.
    std::string_view storedLine() const;

private:
    // Where each field ends in the line: at its terminator, or at the end for a last field
    // without one.
    using FieldEnds = std::array<std::uint32_t, kFieldCount>;

    Contact() = default;
    static bool findFieldEnds(std::string_view line, FieldEnds& ends);

    std::string m_bytes; // the stored line, or line() for a contact not stored yet
    FieldEnds m_fieldEnds{};
    bool m_stored = false;
};

} // namespace contacts
