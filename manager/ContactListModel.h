#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <array>
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

    const Row& row(int position) const { return m_rows[static_cast<size_t>(position)]; }
    void setRows(std::vector<Row> rows);
    void appendRow(Row row);
    void removeRowAt(int position);

    // Orders the rows by name as a Spanish reader expects: accented letters with their base
    // letter, capitals and small letters together; equal names keep their order. Persistent
    // indexes (the selection) follow their rows.
    void sortByName();

private:
    std::vector<Row> m_rows;
};
