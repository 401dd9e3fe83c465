#pragma once

#include "exchange/CardImport.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// How the preview marks each card, against the names already stored. Names are compared as the
// add dialog compares them: in Windows-1252, case ignored, nothing else folded.
namespace exchange {

enum class ImportMark : std::uint8_t {
    New,            // can be added
    NameStored,     // a stored contact has the name: skipped unless the user updates it
    NoBirthday,     // the birthday is required, as in the contact dialogs
    RepeatedInFile, // an earlier card of the file that can be imported has the name (planImport)
};

// One mark per card, in order: new, name stored or no birthday. `storedNames` are the file's
// bytes. Whether a card can be stored as it stands is told apart, by ImportedCard::problems;
// which cards repeat a name, by planImport, which knows which of them can be imported.
std::vector<ImportMark> markImport(const std::vector<ImportedCard>& cards,
                                   const std::vector<std::string_view>& storedNames);

// The key of a card's name (UTF-8) among the stored ones (contacts::nameKey); nothing for a
// name Windows-1252 cannot hold, which is never stored.
std::optional<std::string> cardNameKey(const std::string& utf8Name);

} // namespace exchange
