#include "contacts/Contact.h"

#include <cstring>

namespace contacts {
namespace {

constexpr int kNoteIndex = static_cast<int>(ContactField::Note);

} // namespace

Contact::Contact(const Values& values) : m_bytes(buildLine(values))
{
    std::uint32_t end = 0;
    for (int i = 0; i < kFieldCount; ++i) {
        end += static_cast<std::uint32_t>(values[i].size());
        m_fieldEnds[i] = end;
        ++end; // the terminator
    }
}

bool Contact::findFieldEnds(std::string_view line, FieldEnds& ends)
{
    const char* const begin = line.data();
    const char* at = begin;
    const char* const end = begin + line.size();
    for (int i = 0; i < kFieldCount; ++i) {
        const void* found = at == end ? nullptr : std::memchr(at, kTerminator, end - at);
        if (!found) {
            if (i < kNoteIndex)
                return false;
            ends[i] = static_cast<std::uint32_t>(line.size());
            return true;
        }
        const char* terminator = static_cast<const char*>(found);
        ends[i] = static_cast<std::uint32_t>(terminator - begin);
        at = terminator + 1;
    }
    return true;
}

std::optional<Contact> Contact::fromStoredLine(std::string_view line)
{
    Contact contact;
    if (!findFieldEnds(line, contact.m_fieldEnds))
        return std::nullopt;
    contact.m_bytes.assign(line);
    contact.m_stored = true;
    return contact;
}

std::string_view Contact::field(ContactField which) const
{
    const int index = static_cast<int>(which);
    const std::uint32_t from = index == 0 ? 0 : m_fieldEnds[index - 1] + 1;
    return std::string_view(m_bytes).substr(from, m_fieldEnds[index] - from);
}

Contact::Values Contact::values() const
{
    Values values;
    for (int i = 0; i < kFieldCount; ++i)
        values[i] = std::string(field(static_cast<ContactField>(i)));
    return values;
}

std::string Contact::line() const
{
    // A stored line may carry text after its eighth terminator, or lack that terminator.
    if (!m_stored)
        return m_bytes;
    FieldViews fields;
    for (int i = 0; i < kFieldCount; ++i)
        fields[i] = field(static_cast<ContactField>(i));
    return buildLine(fields);
}

std::string_view Contact::storedLine() const
{
    return m_stored ? std::string_view(m_bytes) : std::string_view();
}

} // namespace contacts
