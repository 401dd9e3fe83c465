#include "ContactAdapter.h"

#include "StorageProblem.h"
#include "Windows1252.h"

namespace exchange {
namespace {

constexpr Role roleOf(int field)
{
    return static_cast<Role>(field);
}

// The two types list the fields in the same order, the order of the contact file.
static_assert(static_cast<int>(Role::Note) == static_cast<int>(contacts::ContactField::Note));

} // namespace

ContactValues toContactValues(const contacts::Contact& contact)
{
    ContactValues values;
    for (int field = 0; field < contacts::kFieldCount; ++field)
        valueOf(values, roleOf(field)) =
            contacts::windows1252ToUtf8(contact.field(static_cast<contacts::ContactField>(field)));
    return values;
}

std::optional<contacts::Contact> toContact(const ContactValues& values)
{
    contacts::Contact::Values bytes;
    for (int field = 0; field < contacts::kFieldCount; ++field) {
        const std::string& text = valueOf(values, roleOf(field));
        if (firstStorageProblem(roleOf(field), text))
            return std::nullopt;
        bytes[static_cast<size_t>(field)] = *contacts::utf8ToWindows1252(text);
    }
    return contacts::Contact(bytes);
}

} // namespace exchange
