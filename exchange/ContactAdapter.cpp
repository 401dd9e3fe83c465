#include "ContactAdapter.h"

#include "StorageProblem.h"
#include "Windows1252.h"

namespace exchange {

ContactValues toContactValues(const contacts::Contact& contact)
{
    ContactValues values;
    for (Role role : kRoles)
        valueOf(values, role) = contacts::windows1252ToUtf8(contact.field(role));
    return values;
}

std::optional<contacts::Contact> toContact(const ContactValues& values)
{
    contacts::Contact::Values bytes;
    for (Role role : kRoles) {
        const std::string& text = valueOf(values, role);
        if (firstStorageProblem(role, text))
            return std::nullopt;
        bytes[static_cast<size_t>(role)] = *contacts::utf8ToWindows1252(text);
    }
    return contacts::Contact(bytes);
}

} // namespace exchange
