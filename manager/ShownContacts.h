#pragma once

#include <QCollator>
#include <QSortFilterProxyModel>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace manager {

class ContactListModel;

// The rows the main window's list shows of the contact list: the contacts that match the search
// box, in the order of the column header clicked last, the contacts whose birthday is near in
// bold with the days left in their tooltip. By name, the list keeps the contact list's own order
// (see NameOrder.h), which costs nothing to keep.
class ShownContacts : public QSortFilterProxyModel {
    Q_OBJECT
public:
    // A birthday this many days away or fewer is near, as the reminder counts its coming ones.
    static constexpr int kNearDays = 3;

    ShownContacts(ContactListModel* contacts, std::chrono::year_month_day today,
                  QObject* parent = nullptr);

    // Shows only the contacts where every word typed stands in some field (ContactSearch.h).
    void setSearch(const QString& text);
    bool isSearching() const { return m_searching; }

    // Marks and orders the birthdays from this day on.
    void setToday(std::chrono::year_month_day today);
    // Days until the birthday of the contact at this row of the contact list when it is near:
    // 0 when it is today.
    std::optional<int> daysToNearBirthday(int contactRow) const;
    // What the tooltip and screen readers say of a near birthday ("Su cumpleaños es mañana").
    static QString nearBirthdayText(int days);

    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    QVariant data(const QModelIndex& index, int role) const override;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    ContactListModel* m_contacts;
    std::chrono::year_month_day m_today;
    std::vector<std::string> m_words;
    bool m_searching = false;
    // A character typed that no contact can hold: nothing matches.
    bool m_unmatchable = false;
    QCollator m_collator;
};

} // namespace manager
