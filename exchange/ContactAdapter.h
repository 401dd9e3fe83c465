#pragma once

#include "contacts/Contact.h"
#include "exchange/ContactValues.h"

#include <optional>

// The store keeps a contact as the contact file's Windows-1252 bytes; the exchange formats see
// its values as UTF-8 text.
namespace exchange {

ContactValues toContactValues(const contacts::Contact& contact);

// Nothing when a value holds a character the contact file cannot hold (see StorageProblem.h):
// nothing is changed on the way in.
std::optional<contacts::Contact> toContact(const ContactValues& values);

} // namespace exchange
