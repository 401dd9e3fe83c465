#include "exchange/ContactAdapter.h"

#include "contacts/Windows1252.h"

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
        std::optional<std::string> field = contacts::utf8ToWindows1252(valueOf(values, role));
        if (!field || !contacts::isStorableValue(*field))
            return std::nullopt;
        bytes[static_cast<size_t>(role)] = std::move(*field);
    }
    return contacts::Contact(bytes);
}

} // namespace exchange
