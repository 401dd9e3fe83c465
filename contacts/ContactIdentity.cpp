#include "contacts/ContactIdentity.h"

#include "contacts/Record.h"

namespace contacts {

OwnLines ownLines(std::span<const std::string_view> lines, const Contact& contact)
{
    OwnLines own;
    if (contact.isStored()) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i] == contact.storedLine())
                own.lines.push_back(i);
        }
        if (!own.lines.empty()) {
            own.found = OwnLines::Found::Exactly;
            return own;
        }
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (nameOf(lines[i]) == contact.name())
            own.lines.push_back(i);
    }
    if (own.lines.size() == 1) {
        own.found = OwnLines::Found::ByName;
        return own;
    }
    own.found = own.lines.empty() ? OwnLines::Found::Gone : OwnLines::Found::Ambiguous;
    own.lines.clear();
    return own;
}

} // namespace contacts
