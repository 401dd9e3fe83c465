#pragma once

#include <string>
#include <string_view>

// A UID that stays the same for a contact from one export to the next, so that a calendar or an
// address book that imports the file again updates its entries instead of adding them twice.
// It comes from the name, the contact's key, with case ignored as the dialogs ignore it: a
// contact renamed becomes a new entry there. `kind` tells the exports apart ("cumple").
namespace exchange {

std::string stableUid(std::string_view name, std::string_view kind);

} // namespace exchange
