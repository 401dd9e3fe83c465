#pragma once

#include "exchange/ImportPlan.h"

#include <QAbstractTableModel>
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace manager {

// The rows of the import preview, one per card: a check box with what will happen to the card,
// what would be stored, and why the card cannot be imported or what the import changes in it.
// The cards that can be imported come first, then the others, each in the file's order, so that
// the user sees at once what the import brings. Only the rows that can be imported can be
// checked, and of the cards that bear one name only one at a time: checking another leaves the
// first unchecked. Rows are numbered as shown; chosenRows() gives the plan's own indexes.
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
    // The plan's row shown at `row`.
    const exchange::ImportRow& shownRow(int row) const;
    bool isChosen(int row) const { return m_chosen[planIndex(row)]; }
    void choose(int row, bool chosen);
    // Checks every stored contact's update (the first card of each name, unless the user chose
    // another), or unchecks them all.
    void chooseUpdates(bool chosen);
    std::vector<std::size_t> chosenRows() const;
    // Why the card shown at `row` cannot be imported, and what the import changes in it; empty
    // when there is nothing to say.
    QString remarks(int row, QChar between = QLatin1Char(' ')) const;

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
    std::size_t planIndex(int row) const { return m_order[static_cast<std::size_t>(row)]; }
    // Sets one row's choice, unchecking the other cards of its name; tells the view.
    void setChosen(std::size_t at, bool chosen);
    void showChoiceOf(std::size_t at);

    std::vector<exchange::ImportRow> m_rows;
    std::vector<bool> m_chosen;
    std::vector<std::uint32_t> m_order; // shown row → plan index
    std::vector<int> m_shownAt;         // plan index → shown row
    // The cards of each repeated name, by the first of them.
    std::unordered_map<std::size_t, std::vector<std::size_t>> m_sameName;
};

// The mark as the preview writes it: "Nuevo", "Ya guardado", "Repetido en el archivo", and
// "No se puede importar" for a card that cannot be imported, whatever its mark.
QString markText(const exchange::ImportRow& row);

} // namespace manager
