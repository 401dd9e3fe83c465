#pragma once

#include "exchange/ContactValues.h"

#include <chrono>
#include <span>
#include <string>

// Writes contacts as vCard 3.0, UTF-8, CR LF, lines folded at 75 bytes: FN and N (the whole
// name as the given name: a name is not split into given and family names by guessing),
// NICKNAME, BDAY, TEL, ADR (the one-line address as the street), EMAIL, NOTE and a stable UID.
// Empty values are left out; a control character that a stored value may still hold is written
// as a blank (ExportedText.h).
//
// BDAY: a contact whose age is a number gets the year of birth that gives that age on `today`
// (see birthYearFor), so that reading the file back on the same day gives the same age, and a
// year older after each birthday, as the reminder would count it. Any other age gives a BDAY
// without a year (--03-05). A birthday that is not a day of the calendar (31/02) is left out.
namespace exchange {

std::string writeVCards(std::span<const ContactValues> contacts, std::chrono::year_month_day today);

} // namespace exchange
