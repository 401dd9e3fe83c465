#pragma once

#include "exchange/ImportPlan.h"

#include <QAbstractTableModel>
#include <cstddef>
#include <vector>

namespace manager {

// The rows of the import preview, one per card in the file's order: a check box with the card's
// mark, what would be stored, and why the card cannot be imported or what the import changes in
// it. Only the rows that can be imported can be checked.
class ImportPreviewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Mark, FirstField, Remarks = FirstField + 8, ColumnCount };

    explicit ImportPreviewModel(std::vector<exchange::ImportRow> rows, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const std::vector<exchange::ImportRow>& rows() const { return m_rows; }
    bool isChosen(int row) const { return m_chosen[static_cast<std::size_t>(row)]; }
    void choose(int row, bool chosen);
    // Checks or unchecks every row that would update a stored contact.
    void chooseUpdates(bool chosen);
    std::vector<std::size_t> chosenRows() const;

    struct Counts {
        int cards = 0;
        int newChosen = 0;
        int updatesChosen = 0;
        int updatesPossible = 0;
        int notImportable = 0;
    };
    Counts counts() const;

signals:
    void choiceChanged();

private:
    std::vector<exchange::ImportRow> m_rows;
    std::vector<bool> m_chosen;
};

// The mark as the preview writes it: "Nuevo", "Ya guardado", ...
QString markText(exchange::ImportMark mark);

} // namespace manager
