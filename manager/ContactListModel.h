#pragma once

#include "Lookup.h"

#include <QAbstractTableModel>
#include <QString>
#include <array>
#include <cstddef>
#include <string>
#include <vector>

// The rows of the manager's contact list: fields 0 to 6 of each contact, the name first. Rows are
// addressed by their display position and keep their order until sortByName() is called: a row
// appended later stays at the end until the next sort, as the list always behaved.
class ContactListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumnCount = 7;
    using Row = std::array<QString, kColumnCount>;

    explicit ContactListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    Row row(int position) const;
    QString cell(int position, int column) const;
    // Replaces every row by the contacts as read from the file.
    void setRows(const std::vector<contacts::ListFields>& rows);
    // The texts must be storable in the contact file, as the contact dialogs make sure.
    void appendRow(const Row& row);
    void removeRowAt(int position);
    // Removes the row at `position` after the contact file dropped `droppedLines` lines for its
    // contact, and with it the other rows that showed those lines, so that the list keeps
    // showing what the file holds: rows equal to it when the lines were found by content,
    // every row with its name when they were found by name.
    void removeContactRows(int position, std::size_t droppedLines);

    // Orders the rows by name as a Spanish reader expects: accented letters with their base
    // letter, capitals and small letters together; equal names keep their order. Persistent
    // indexes (the selection) follow their rows.
    void sortByName();

private:
    // A row keeps the file's bytes of its seven fields in one string and converts a cell only
    // when it is shown: a list of 100,000 contacts then takes one small allocation per row.
    struct StoredRow {
        std::string bytes;
        std::array<unsigned, kColumnCount + 1> bounds{};
    };

    void insertUnsortedRows();
    void sortAllRows();
    // origin[i]: the position before the sort of the row now at i.
    void movePersistentIndexes(const std::vector<int>& origin);

    std::vector<StoredRow> m_rows;
    // The leading rows known to be in name order; the rest were appended since the last sort.
    std::size_t m_sortedRows = 0;
};
