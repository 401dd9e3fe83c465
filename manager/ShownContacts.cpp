#include "manager/ShownContacts.h"

#include "contacts/Birthday.h"
#include "contacts/ContactSearch.h"
#include "manager/ContactListModel.h"
#include "manager/NameOrder.h"
#include "platform/gui/QtText.h"

#include <QFont>
#include <algorithm>

namespace manager {

namespace {

using contacts::ContactField;

constexpr int kNameColumn = static_cast<int>(ContactField::Name);
constexpr int kAgeColumn = static_cast<int>(ContactField::Age);
constexpr int kBirthdayColumn = static_cast<int>(ContactField::Birthday);

// The number an age starts with, as its digits without leading zeros; nothing when the age does
// not start with a digit ("treinta", "").
std::optional<std::string> ageNumber(std::string_view age)
{
    const auto first = age.find_first_not_of(" \t");
    if (first == std::string_view::npos || age[first] < '0' || age[first] > '9')
        return std::nullopt;
    return contacts::leadingNumber(age);
}

std::optional<int> daysUntilBirthday(std::string_view field, std::chrono::year_month_day today)
{
    const auto birthday = contacts::parseBirthday(field);
    return birthday ? contacts::daysUntilNext(*birthday, today) : std::nullopt;
}

// -1, 0 or 1 as `a` comes before, with or after `b`; numbers of any length.
int compareNumbers(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

} // namespace

ShownContacts::ShownContacts(ContactListModel* contacts, std::chrono::year_month_day today,
                             QObject* parent)
    : QSortFilterProxyModel(parent), m_contacts(contacts), m_today(today),
      m_collator(nameCollator())
{
    setSourceModel(contacts);
}

void ShownContacts::setSearch(const QString& text)
{
    const auto stored = platform::toFileText(text);
    m_unmatchable = !stored;
    m_words = stored ? contacts::searchWords(*stored) : std::vector<std::string>{};
    m_searching = m_unmatchable || !m_words.empty();
    // The rows are mapped anew rather than removed and inserted where they changed: on a large
    // book a search leaves thousands of scattered runs, and the proxy's updates of each run cost
    // a pass over every row.
    invalidate();
}

void ShownContacts::setToday(std::chrono::year_month_day today)
{
    if (today == m_today)
        return;
    m_today = today;
    if (sortColumn() == kBirthdayColumn)
        invalidate();
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                         {Qt::FontRole, Qt::ToolTipRole, Qt::AccessibleDescriptionRole});
}

std::optional<int> ShownContacts::daysToNearBirthday(int contactRow) const
{
    const auto days =
        daysUntilBirthday(m_contacts->contact(contactRow).field(ContactField::Birthday), m_today);
    return days && *days <= kNearDays ? days : std::nullopt;
}

QString ShownContacts::nearBirthdayText(int days)
{
    if (days == 0)
        return QStringLiteral("Hoy es su cumpleaños");
    if (days == 1)
        return QStringLiteral("Su cumpleaños es mañana");
    return QStringLiteral("Faltan %1 días para su cumpleaños").arg(days);
}

QVariant ShownContacts::data(const QModelIndex& index, int role) const
{
    if (index.isValid() && (role == Qt::FontRole || role == Qt::ToolTipRole ||
                            role == Qt::AccessibleDescriptionRole)) {
        if (const auto days = daysToNearBirthday(mapToSource(index).row())) {
            if (role == Qt::FontRole) {
                QFont bold;
                bold.setBold(true);
                return bold;
            }
            const QString text = nearBirthdayText(*days);
            if (role == Qt::AccessibleDescriptionRole)
                return text;
            const QString value = QSortFilterProxyModel::data(index, role).toString();
            return value.isEmpty() ? text : text + QLatin1Char('\n') + value;
        }
    }
    return QSortFilterProxyModel::data(index, role);
}

void ShownContacts::sort(int column, Qt::SortOrder order)
{
    // The contact list is in name order already: by name ascending the rows keep its order.
    if (column == kNameColumn && order == Qt::AscendingOrder)
        column = -1;
    QSortFilterProxyModel::sort(column, order);
}

bool ShownContacts::filterAcceptsRow(int sourceRow, const QModelIndex&) const
{
    if (!m_searching)
        return true;
    return !m_unmatchable && contacts::matchesSearch(m_contacts->contact(sourceRow), m_words);
}

bool ShownContacts::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    const int column = left.column();
    const int a = left.row();
    const int b = right.row();
    // Rows of the contact list are in name order.
    if (column == kNameColumn)
        return a < b;

    // A row is "less" when it comes first in ascending order; the descending order turns that
    // round. Equal values stand by name, and what has no value to compare (no age, no birthday,
    // an empty field) comes last, in either order.
    const bool ascending = sortOrder() == Qt::AscendingOrder;
    const bool byName = ascending ? a < b : b < a;
    const auto missing = [&](bool missingA, bool missingB) -> std::optional<bool> {
        if (missingA == missingB)
            return missingA ? std::optional<bool>(byName) : std::nullopt;
        return ascending ? missingB : missingA;
    };
    const auto field = static_cast<ContactField>(column);
    const std::string_view fieldA = m_contacts->contact(a).field(field);
    const std::string_view fieldB = m_contacts->contact(b).field(field);

    int order = 0;
    if (column == kAgeColumn) {
        const auto ageA = ageNumber(fieldA);
        const auto ageB = ageNumber(fieldB);
        if (const auto decided = missing(!ageA, !ageB))
            return *decided;
        order = compareNumbers(*ageA, *ageB);
    } else if (column == kBirthdayColumn) {
        // Who comes next first: today's birthdays, then tomorrow's...
        const auto daysA = daysUntilBirthday(fieldA, m_today);
        const auto daysB = daysUntilBirthday(fieldB, m_today);
        if (const auto decided = missing(!daysA, !daysB))
            return *decided;
        order = *daysA - *daysB;
    } else {
        if (const auto decided = missing(fieldA.empty(), fieldB.empty()))
            return *decided;
        order = m_collator.compare(platform::fromFileText(fieldA), platform::fromFileText(fieldB));
    }
    return order != 0 ? order < 0 : byName;
}

} // namespace manager
