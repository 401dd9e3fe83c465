#pragma once

#include "contacts/Contact.h"

#include <array>
#include <string>

// A contact as the exchange formats see it: the eight values of a contact record by role, as
// UTF-8 text. The store's contact type converts to and from it member by member; the order of
// the members is the order of the fields in the contact file.
namespace exchange {

struct ContactValues {
    std::string name;
    std::string alias;
    std::string age;      // whole years as decimal digits, any other text, or nothing
    std::string birthday; // day/month: 05/03 or 5/3
    std::string phone;
    std::string address;
    std::string email;
    std::string note;

    friend bool operator==(const ContactValues&, const ContactValues&) = default;
};

// A value's role is the field of the contact file it goes to.
using Role = contacts::ContactField;
inline constexpr std::array kRoles = {Role::Name,  Role::Alias,   Role::Age,   Role::Birthday,
                                      Role::Phone, Role::Address, Role::Email, Role::Note};

std::string& valueOf(ContactValues& contact, Role role);
const std::string& valueOf(const ContactValues& contact, Role role);

} // namespace exchange
