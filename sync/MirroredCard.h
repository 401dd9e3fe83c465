#pragma once

#include "contacts/Record.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the book mirrors of a card of the address book: its values as the contact file would
// store them (Windows-1252, one line each, characters the file cannot hold transliterated, as an
// import stores them), and its year of birth. Only a card with a birthday is mirrored.
namespace mirror {

struct MirroredCard {
    std::string uid;
    // Name, alias, birthday (05/03), phone, address, email and note as the book would store them;
    // the age field holds the year of birth ("1980"), or nothing for a card without one.
    contacts::Fields fields;
    // The values that had to change to be stored, as "Łukasz → Lukasz", for the user to know.
    std::vector<std::string> transliterated;
};

struct CardReading {
    std::optional<MirroredCard> card;
    bool hasBirthday = false;
    // Why a card with a birthday cannot be mirrored, one Spanish sentence; empty otherwise.
    std::string problem;
};

// `text`: one vCard as the server holds it.
CardReading readMirroredCard(std::string_view text, std::chrono::year_month_day today);

// The book's age of a card's year of birth on `today`; nothing without a year.
std::optional<std::string> ageFromYear(const contacts::Fields& card,
                                       std::chrono::year_month_day today);

} // namespace mirror
