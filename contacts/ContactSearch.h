#pragma once

#include "contacts/Contact.h"

#include <string>
#include <string_view>
#include <vector>

// The manager's search box: a contact matches when each word typed stands in one of its fields,
// as a Spanish reader compares letters: capitals and small letters alike, and accented vowels
// (á, è, ü...) with their plain vowel, while ñ stays a letter of its own, as in the list's order.
namespace contacts {

// The words of a search, each in search letters; blanks separate them.
std::vector<std::string> searchWords(std::string_view windows1252Text);

// Whether every word stands in some field of the contact. No words: every contact matches.
bool matchesSearch(const Contact& contact, const std::vector<std::string>& words);

} // namespace contacts
