#pragma once

#include "contacts/Contact.h"

#include <QAbstractTableModel>
#include <QString>
#include <cstddef>
#include <vector>

namespace manager {

// The contacts of the manager's list, note included, sorted by name. The columns show fields 0
// to 6; the note stands beside the list. Rows are addressed by their display position.
class ContactListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumnCount = 7;

    explicit ContactListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const contacts::Contact& contact(int row) const;
    // The whole text of a column (fields 0 to 6) or of any field; the list itself shows the
    // start of a long one (see ShownText.h).
    QString cell(int row, int column) const;
    QString text(int row, contacts::ContactField field) const;
    // Every contact, in the list's order.
    const std::vector<contacts::Contact>& contacts() const { return m_contacts; }

    // Shows these contacts instead of the current ones.
    void setContacts(std::vector<contacts::Contact> contacts);
    // The same for contacts already in name order (see NameOrder.h).
    void setContactsInNameOrder(std::vector<contacts::Contact> contacts);
    // Shows a change the contact file now holds: one row leaves for each stored line that left
    // the file, and the added contacts take their places in name order.
    void applyChange(const std::vector<std::string>& removedLines,
                     std::vector<contacts::Contact> added);

    // The row that stands for the contact by the contact file's identity rule; -1 when none
    // does.
    int rowOf(const contacts::Contact& contact) const;
    // The topmost row of one of these contacts, each found by its stored line; -1 when none.
    int firstRowOf(const std::vector<contacts::Contact>& contacts) const;

private:
    void removeRowAt(int row);
    void insertUnsortedRows();
    void sortAllRows();
    // origin[i]: the position before the sort of the row now at i.
    void movePersistentIndexes(const std::vector<int>& origin);
    // Orders the rows by name as a Spanish reader expects: accented letters with their base
    // letter, capitals and small letters together; equal names keep their order. Persistent
    // indexes (the selection) follow their rows.
    void sortByName();

    std::vector<contacts::Contact> m_contacts;
    // The leading rows known to be in name order; the rest were appended since the last sort.
    std::size_t m_sortedRows = 0;
};

} // namespace manager
