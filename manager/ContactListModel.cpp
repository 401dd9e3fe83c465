#include "ContactListModel.h"

#include "QtText.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <numeric>

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

} // namespace

ContactListModel::ContactListModel(QObject* parent) : QAbstractTableModel(parent) {}

int ContactListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ContactListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant ContactListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return cell(index.row(), index.column());
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

namespace {

template <typename Texts> auto storeRow(const Texts& texts)
{
    std::string bytes;
    std::array<unsigned, ContactListModel::kColumnCount + 1> bounds{};
    size_t length = 0;
    for (const auto& text : texts)
        length += static_cast<size_t>(text.size());
    bytes.reserve(length);
    for (size_t column = 0; column < texts.size(); ++column) {
        bounds[column] = static_cast<unsigned>(bytes.size());
        bytes.append(texts[column]);
    }
    bounds[ContactListModel::kColumnCount] = static_cast<unsigned>(bytes.size());
    return std::make_pair(std::move(bytes), bounds);
}

} // namespace

ContactListModel::Row ContactListModel::row(int position) const
{
    Row row;
    for (int column = 0; column < kColumnCount; ++column)
        row[static_cast<size_t>(column)] = cell(position, column);
    return row;
}

QString ContactListModel::cell(int position, int column) const
{
    const StoredRow& stored = m_rows[static_cast<size_t>(position)];
    const unsigned from = stored.bounds[static_cast<size_t>(column)];
    const unsigned to = stored.bounds[static_cast<size_t>(column) + 1];
    return platform::fromFileText(std::string_view(stored.bytes).substr(from, to - from));
}

void ContactListModel::setRows(const std::vector<contacts::ListFields>& rows)
{
    beginResetModel();
    m_sortedRows = 0;
    m_rows.clear();
    m_rows.reserve(rows.size());
    for (const contacts::ListFields& fields : rows) {
        auto [bytes, bounds] = storeRow(fields);
        m_rows.push_back({std::move(bytes), bounds});
    }
    endResetModel();
}

void ContactListModel::appendRow(const Row& row)
{
    std::array<std::string, kColumnCount> fields;
    for (size_t column = 0; column < fields.size(); ++column)
        fields[column] = platform::toFileText(row[column]).value_or(std::string());
    const int position = rowCount();
    beginInsertRows({}, position, position);
    auto [bytes, bounds] = storeRow(fields);
    m_rows.push_back({std::move(bytes), bounds});
    endInsertRows();
}

void ContactListModel::removeRowAt(int position)
{
    if (position < 0 || position >= rowCount())
        return;
    beginRemoveRows({}, position, position);
    m_rows.erase(m_rows.begin() + position);
    // Taking a row out of the sorted ones leaves them sorted.
    if (static_cast<size_t>(position) < m_sortedRows)
        --m_sortedRows;
    endRemoveRows();
}

void ContactListModel::removeContactRows(int position, std::size_t droppedLines)
{
    if (position < 0 || position >= rowCount())
        return;
    std::vector<int> doomed{position};
    // One line is the usual case: only the chosen row showed it.
    if (droppedLines > 1) {
        const StoredRow& chosen = m_rows[static_cast<size_t>(position)];
        const auto nameOf = [](const StoredRow& row) {
            return std::string_view(row.bytes).substr(0, row.bounds[1]);
        };
        std::vector<int> equal;
        std::vector<int> sameName;
        for (int i = 0; i < rowCount(); ++i) {
            const StoredRow& other = m_rows[static_cast<size_t>(i)];
            if (i == position || nameOf(other) != nameOf(chosen))
                continue;
            if (other.bytes == chosen.bytes && other.bounds == chosen.bounds)
                equal.push_back(i);
            else
                sameName.push_back(i);
        }
        if (equal.size() + 1 >= droppedLines) {
            doomed.insert(doomed.end(), equal.begin(), equal.begin() + (droppedLines - 1));
        } else {
            doomed.insert(doomed.end(), equal.begin(), equal.end());
            doomed.insert(doomed.end(), sameName.begin(), sameName.end());
        }
    }
    std::sort(doomed.begin(), doomed.end(), std::greater<int>());
    for (int row : doomed)
        removeRowAt(row);
}

namespace {

// Beyond this many rows out of place a full sort is cheaper than inserting them one by one.
constexpr std::size_t kFewUnsortedRows = 32;

QCollator nameCollator()
{
    QCollator collator{QLocale(QLocale::Spanish, QLocale::Spain)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

} // namespace

void ContactListModel::sortByName()
{
    if (m_sortedRows >= m_rows.size())
        return;
    // The list is sorted after every command and only the rows a command appended follow the
    // sorted ones: inserting those few keeps an addition fast on a long list.
    if (m_rows.size() - m_sortedRows <= kFewUnsortedRows)
        insertUnsortedRows();
    else
        sortAllRows();
    m_sortedRows = m_rows.size();
}

void ContactListModel::insertUnsortedRows()
{
    const QCollator collator = nameCollator();
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> origin(m_rows.size());
    std::iota(origin.begin(), origin.end(), 0);
    for (size_t from = m_sortedRows; from < m_rows.size(); ++from) {
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
        std::rotate(m_rows.begin() + low, m_rows.begin() + from, m_rows.begin() + from + 1);
        std::rotate(origin.begin() + low, origin.begin() + from, origin.begin() + from + 1);
    }
    movePersistentIndexes(origin);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ContactListModel::sortAllRows()
{
    const QCollator collator = nameCollator();
    // One key per name, computed once: comparing keys is much cheaper than collating strings.
    std::vector<QCollatorSortKey> keys;
    keys.reserve(m_rows.size());
    for (int position = 0; position < rowCount(); ++position)
        keys.push_back(collator.sortKey(cell(position, 0)));
    std::vector<int> order(m_rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return keys[a].compare(keys[b]) < 0; });

    std::vector<StoredRow> sorted;
    sorted.reserve(m_rows.size());
    for (int from : order)
        sorted.push_back(std::move(m_rows[static_cast<size_t>(from)]));
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    m_rows = std::move(sorted);
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
