#pragma once

#include "contacts/Contact.h"

#include <QCollator>
#include <vector>

namespace manager {

// The order of the manager's list: by name, as a Spanish reader expects: accented letters with
// their base letter, capitals and small letters together; equal names keep their order.

QCollator nameCollator();

// The positions of the contacts in name order.
std::vector<int> orderByName(const std::vector<contacts::Contact>& contacts);

// The contacts in this order: position i takes the contact at order[i].
std::vector<contacts::Contact> reordered(std::vector<contacts::Contact> contacts,
                                         const std::vector<int>& order);

// The contacts in name order.
std::vector<contacts::Contact> inNameOrder(std::vector<contacts::Contact> contacts);

} // namespace manager
