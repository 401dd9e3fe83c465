#pragma once

#include <QTreeView>

namespace manager {

class ImportPreviewModel;

// The import preview's list of cards. A card's values stand on one line, in columns that may
// reach beyond the window; under a card that cannot be imported, or that the import changes,
// the reason stands on lines of its own, wrapped to the list's visible width and drawn from its
// left edge whatever the columns' scroll, so that every card's reason is read without
// scrolling sideways.
class ImportCardList : public QTreeView {
    Q_OBJECT
public:
    explicit ImportCardList(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;
    // Where the remarks of the row at `index` are drawn, in the viewport's coordinates; empty
    // when the row has none.
    QRect remarksRect(const QModelIndex& index) const;
    // The height that the remarks of the row shown at `row` take, wrapped to the visible width.
    int remarksHeight(int row) const;

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int remarksWidth() const;
    int remarksMargin() const;

    ImportPreviewModel* m_cards = nullptr;
    int m_laidOutWidth = -1;
};

} // namespace manager
