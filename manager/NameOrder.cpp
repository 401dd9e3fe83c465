#include "manager/NameOrder.h"

#include "platform/gui/QtText.h"

#include <QLocale>
#include <algorithm>
#include <numeric>

namespace manager {

QCollator nameCollator()
{
    QCollator collator{QLocale(QLocale::Spanish, QLocale::Spain)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

std::vector<int> orderByName(const std::vector<contacts::Contact>& contacts)
{
    const QCollator collator = nameCollator();
    // One key per name, computed once: comparing keys is much cheaper than collating strings.
    std::vector<QCollatorSortKey> keys;
    keys.reserve(contacts.size());
    for (const contacts::Contact& contact : contacts)
        keys.push_back(collator.sortKey(platform::fromFileText(contact.name())));
    std::vector<int> order(contacts.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return keys[a].compare(keys[b]) < 0; });
    return order;
}

std::vector<contacts::Contact> reordered(std::vector<contacts::Contact> contacts,
                                         const std::vector<int>& order)
{
    std::vector<contacts::Contact> result;
    result.reserve(contacts.size());
    for (int from : order)
        result.push_back(std::move(contacts[static_cast<size_t>(from)]));
    return result;
}

std::vector<contacts::Contact> inNameOrder(std::vector<contacts::Contact> contacts)
{
    const std::vector<int> order = orderByName(contacts);
    return reordered(std::move(contacts), order);
}

} // namespace manager
