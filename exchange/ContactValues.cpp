#include "exchange/ContactValues.h"

#include <array>

namespace exchange {
namespace {

constexpr std::array<std::string ContactValues::*, 8> kMembers = {
    &ContactValues::name,  &ContactValues::alias,   &ContactValues::age,   &ContactValues::birthday,
    &ContactValues::phone, &ContactValues::address, &ContactValues::email, &ContactValues::note,
};

} // namespace

std::string& valueOf(ContactValues& contact, Role role)
{
    return contact.*kMembers[static_cast<size_t>(role)];
}

const std::string& valueOf(const ContactValues& contact, Role role)
{
    return contact.*kMembers[static_cast<size_t>(role)];
}

} // namespace exchange
