#include "manager/ContactListModel.h"

#include "contacts/ContactIdentity.h"
#include "manager/NameOrder.h"
#include "platform/gui/QtText.h"
#include "platform/gui/ShownText.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <numeric>
#include <unordered_set>

namespace manager {

namespace {

struct Column {
    const char* caption;
    Qt::Alignment alignment;
};

constexpr std::array<Column, ContactListModel::kColumnCount> kColumns = {{
    {"Nombre", Qt::AlignLeft},
    {"Alias", Qt::AlignHCenter},
    {"Edad Actual", Qt::AlignHCenter},
    {"Fecha Del Cumple", Qt::AlignHCenter},
    {"Teléfono", Qt::AlignHCenter},
    {"Dirección", Qt::AlignHCenter},
    {"E-Mail", Qt::AlignHCenter},
}};

// Beyond this many rows out of place a full sort is cheaper than inserting them one by one.
constexpr std::size_t kFewUnsortedRows = 32;

} // namespace

ContactListModel::ContactListModel(QObject* parent) : QAbstractTableModel(parent) {}

int ContactListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_contacts.size());
}

int ContactListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant ContactListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    // The view measures and elides what it is given at every paint: a row shows the start of a
    // long value.
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return platform::shownFileText(
            contact(index.row()).field(static_cast<contacts::ContactField>(index.column())),
            platform::kShownInRow);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(kColumns[static_cast<size_t>(index.column())].alignment |
                                   Qt::AlignVCenter);
    return {};
}

QVariant ContactListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromUtf8(kColumns[static_cast<size_t>(section)].caption);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(kColumns[static_cast<size_t>(section)].alignment |
                                   Qt::AlignVCenter);
    return {};
}

const contacts::Contact& ContactListModel::contact(int row) const
{
    return m_contacts[static_cast<size_t>(row)];
}

QString ContactListModel::text(int row, contacts::ContactField field) const
{
    return platform::fromFileText(contact(row).field(field));
}

QString ContactListModel::cell(int row, int column) const
{
    return text(row, static_cast<contacts::ContactField>(column));
}

void ContactListModel::setContacts(std::vector<contacts::Contact> contacts)
{
    setContactsInNameOrder(inNameOrder(std::move(contacts)));
}

void ContactListModel::setContactsInNameOrder(std::vector<contacts::Contact> contacts)
{
    beginResetModel();
    m_contacts = std::move(contacts);
    m_sortedRows = m_contacts.size();
    endResetModel();
}

void ContactListModel::applyChange(const std::vector<std::string>& removedLines,
                                   std::vector<contacts::Contact> added)
{
    // One row per line: two equal lines that both left take both their rows.
    std::vector<bool> leaving(m_contacts.size(), false);
    for (const std::string& line : removedLines) {
        for (size_t row = 0; row < m_contacts.size(); ++row) {
            if (!leaving[row] && m_contacts[row].storedLine() == line) {
                leaving[row] = true;
                break;
            }
        }
    }
    for (int row = rowCount() - 1; row >= 0; --row) {
        if (leaving[static_cast<size_t>(row)])
            removeRowAt(row);
    }
    if (added.empty())
        return;
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(added.size()) - 1);
    for (contacts::Contact& contact : added)
        m_contacts.push_back(std::move(contact));
    endInsertRows();
    sortByName();
}

int ContactListModel::rowOf(const contacts::Contact& contact) const
{
    std::vector<std::string_view> lines;
    lines.reserve(m_contacts.size());
    for (const contacts::Contact& row : m_contacts)
        lines.push_back(row.storedLine());
    const contacts::OwnLines own = contacts::ownLines(lines, contact);
    return own.lines.empty() ? -1 : static_cast<int>(own.lines.front());
}

int ContactListModel::firstRowOf(const std::vector<contacts::Contact>& contacts) const
{
    std::unordered_set<std::string_view> lines;
    lines.reserve(contacts.size());
    for (const contacts::Contact& contact : contacts)
        lines.insert(contact.storedLine());
    for (size_t row = 0; row < m_contacts.size(); ++row) {
        if (lines.contains(m_contacts[row].storedLine()))
            return static_cast<int>(row);
    }
    return -1;
}

void ContactListModel::removeRowAt(int row)
{
    beginRemoveRows({}, row, row);
    m_contacts.erase(m_contacts.begin() + row);
    // Taking a row out of the sorted ones leaves them sorted.
    if (static_cast<size_t>(row) < m_sortedRows)
        --m_sortedRows;
    endRemoveRows();
}

void ContactListModel::sortByName()
{
    if (m_sortedRows >= m_contacts.size())
        return;
    // The list is sorted after every command and only the rows a command appended follow the
    // sorted ones: inserting those few keeps an addition fast on a long list.
    if (m_contacts.size() - m_sortedRows <= kFewUnsortedRows)
        insertUnsortedRows();
    else
        sortAllRows();
    m_sortedRows = m_contacts.size();
}

void ContactListModel::insertUnsortedRows()
{
    const QCollator collator = nameCollator();
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> origin(m_contacts.size());
    std::iota(origin.begin(), origin.end(), 0);
    for (size_t from = m_sortedRows; from < m_contacts.size(); ++from) {
        const QString name = cell(static_cast<int>(from), 0);
        // After every equal name: equal names keep their order, as in the full sort.
        size_t low = 0;
        size_t high = from;
        while (low < high) {
            const size_t middle = low + (high - low) / 2;
            if (collator.compare(name, cell(static_cast<int>(middle), 0)) < 0)
                high = middle;
            else
                low = middle + 1;
        }
        std::rotate(m_contacts.begin() + low, m_contacts.begin() + from,
                    m_contacts.begin() + from + 1);
        std::rotate(origin.begin() + low, origin.begin() + from, origin.begin() + from + 1);
    }
    movePersistentIndexes(origin);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ContactListModel::sortAllRows()
{
    const std::vector<int> order = orderByName(m_contacts);
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    m_contacts = reordered(std::move(m_contacts), order);
    movePersistentIndexes(order);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ContactListModel::movePersistentIndexes(const std::vector<int>& origin)
{
    std::vector<int> newPosition(origin.size());
    for (size_t i = 0; i < origin.size(); ++i)
        newPosition[static_cast<size_t>(origin[i])] = static_cast<int>(i);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before)
        after.push_back(this->index(newPosition[static_cast<size_t>(index.row())], index.column()));
    changePersistentIndexList(before, after);
}

} // namespace manager
