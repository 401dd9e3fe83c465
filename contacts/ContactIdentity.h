#pragma once

#include "contacts/Contact.h"

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

namespace contacts {

// Which stored lines are a contact's own. Records have no key: the lines equal to the line the
// contact was read from are its own. When none is (the file changed since the contact was read,
// say the reminder advanced the age), the one line whose name equals the contact's name exactly
// stands for it, but only when exactly one line bears that name; otherwise nobody can tell which
// line was meant.
struct OwnLines {
    enum class Found { Exactly, ByName, Gone, Ambiguous };
    Found found = Found::Gone;
    std::vector<std::size_t> lines; // indexes into the lines searched; empty unless found
};

OwnLines ownLines(std::span<const std::string_view> lines, const Contact& contact);

} // namespace contacts
