#pragma once

#include "exchange/ContactValues.h"

#include <optional>
#include <string>
#include <string_view>

// Why a value cannot be stored as it stands. The contact file holds Windows-1252 text without
// "§" (its field terminator), line breaks and control characters (contacts::isStorableCharacter,
// which QUOTED-PRINTABLE can bring in: =1B); the contact dialogs refuse anything else
// as it is typed, and an import keeps the same rule: it changes no character, it says which one
// is in the way.
namespace exchange {

struct StorageProblem {
    enum Kind {
        NoName,              // neither FN nor N gives a name
        OutsideWindows1252,  // `detail` is the character
        FieldTerminator,     // a "§"
        LineBreak,           // in a value of one line
        UnknownCharacterSet, // `detail` is the CHARSET the card names
        ControlCharacter,    // `detail` is its code, U+001B: the character itself shows nothing
        // A BDAY that gives no birthday; `detail` is its value when that is short plain text.
        NoSuchDay,      // 2026-02-29, 1980-04-31: a date that the calendar lacks
        UnreadableDate, // in none of the forms that exports write
        // The file has more characters to transliterate than an import takes
        // (kMostTransliterated in CardImport.h).
        TooMuchToTransliterate,
    };
    Role role = Role::Name;
    Kind kind = NoName;
    std::string detail;

    friend bool operator==(const StorageProblem&, const StorageProblem&) = default;
};

// The first character of the value that the contact file cannot hold, as a problem of `role`.
std::optional<StorageProblem> firstStorageProblem(Role role, std::string_view utf8);

// One short Spanish sentence for the preview: "Nombre: «字» no existe en Windows-1252."
std::string describe(const StorageProblem& problem);

// The caption of the field in the contact dialogs, without its colon: "Teléfono".
std::string_view fieldCaption(Role role);

} // namespace exchange
