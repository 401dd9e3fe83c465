#pragma once

#include "CardImport.h"

#include <string>
#include <vector>

// How the preview marks each card, against the names already stored. Names are compared as the
// add dialog compares them: in Windows-1252, case ignored, nothing else folded.
namespace exchange {

enum class ImportMark {
    New,            // can be added
    NameStored,     // a stored contact has the name: skipped unless the user updates it
    NoBirthday,     // the birthday is required, as in the contact dialogs
    RepeatedInFile, // an earlier card of the file, that has a birthday, has the name
};

// One mark per card, in order. `storedNames` are UTF-8. Whether a card can be stored as it
// stands is told apart, by ImportedCard::problems.
std::vector<ImportMark> markImport(const std::vector<ImportedCard>& cards,
                                   const std::vector<std::string>& storedNames);

} // namespace exchange
