#pragma once

#include "exchange/ContactValues.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Changes a vCard from an address book the way a sync must: only the properties the contact file
// holds are touched, and every other property (a photo, other numbers, the company...) stays byte
// for byte, parameters, groups and line folding included, so that the server never loses what
// the book cannot hold.
namespace exchange {

// The new values of the properties that changed. A role missing here is left as it is; an empty
// value removes the property.
struct CardChange {
    std::optional<std::string> name;     // FN, and N rewritten from it
    std::optional<std::string> alias;    // NICKNAME
    std::optional<std::string> birthday; // BDAY as written: 1980-03-05 or --03-05
    std::optional<std::string> phone;    // the first TEL of type CELL, else the first TEL
    std::optional<std::string> address;  // the first ADR, the whole address as its street
    std::optional<std::string> email;    // the first EMAIL
    std::optional<std::string> note;     // the first NOTE

    bool empty() const;
};

// `card`: the text of one vCard as the server holds it (CR LF or LF line ends). Values are
// UTF-8 text; they are escaped and folded here. A replaced property keeps its group and its
// parameters, but for ENCODING and CHARSET: the new value is plain UTF-8. A property that is not
// there yet is added before END:VCARD.
std::string editCard(std::string_view card, const CardChange& change);

} // namespace exchange
