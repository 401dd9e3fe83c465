#include "manager/ImportCardList.h"

#include "manager/ImportPreviewModel.h"
#include "platform/gui/RowList.h"

#include <QPainter>
#include <QResizeEvent>
#include <QStyledItemDelegate>
#include <algorithm>

namespace manager {

namespace {

constexpr auto kRemarksFlags = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop;

QPalette::ColorGroup colorGroup(const QWidget* widget)
{
    if (!widget->isEnabled())
        return QPalette::Disabled;
    return widget->isActiveWindow() ? QPalette::Active : QPalette::Inactive;
}

// Paints each cell with the list's own delegate on the row's first line, which the check box's
// clicks go to as well; the remarks below are the list's (see drawRow).
class FirstLineDelegate : public QStyledItemDelegate {
public:
    FirstLineDelegate(ImportCardList* list, QAbstractItemDelegate* line)
        : QStyledItemDelegate(list), m_list(list), m_line(line)
    {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = m_line->sizeHint(option, index);
        if (index.column() == ImportPreviewModel::Mark)
            size.rheight() += m_list->remarksHeight(index.row());
        return size;
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        m_line->paint(painter, firstLine(option, index), index);
    }

    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override
    {
        return m_line->editorEvent(event, model, firstLine(option, index), index);
    }

private:
    QStyleOptionViewItem firstLine(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const
    {
        QStyleOptionViewItem line = option;
        line.rect.setHeight(option.rect.height() - m_list->remarksHeight(index.row()));
        return line;
    }

    ImportCardList* m_list;
    QAbstractItemDelegate* m_line;
};

} // namespace

ImportCardList::ImportCardList(QWidget* parent) : QTreeView(parent)
{
    platform::makeRowList(this);
    // Rows with remarks are taller than the others.
    setUniformRowHeights(false);
    setItemDelegate(new FirstLineDelegate(this, itemDelegate()));
    // The remarks wrap to the visible width: a scroll bar that came and went as rows were laid
    // out would change it each time.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void ImportCardList::setModel(QAbstractItemModel* model)
{
    QTreeView::setModel(model);
    m_cards = qobject_cast<ImportPreviewModel*>(model);
    // The remarks stand under their cards, not in a column out of sight.
    setColumnHidden(ImportPreviewModel::Remarks, m_cards != nullptr);
}

int ImportCardList::remarksMargin() const
{
    // The remarks start where the mark's text does, after its check box.
    const int frame = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    return 2 * frame + style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this);
}

int ImportCardList::remarksWidth() const
{
    return std::max(1, viewport()->width() - remarksMargin() - fontMetrics().averageCharWidth());
}

int ImportCardList::remarksHeight(int row) const
{
    if (!m_cards)
        return 0;
    const QString remarks = m_cards->remarks(row, QLatin1Char('\n'));
    if (remarks.isEmpty())
        return 0;
    const QRect bounds =
        fontMetrics().boundingRect(QRect(0, 0, remarksWidth(), 1 << 20), kRemarksFlags, remarks);
    return bounds.height() + fontMetrics().descent();
}

QRect ImportCardList::remarksRect(const QModelIndex& index) const
{
    if (!index.isValid())
        return {};
    const int height = remarksHeight(index.row());
    if (height == 0)
        return {};
    const QRect row = visualRect(index.siblingAtColumn(ImportPreviewModel::Mark));
    return {remarksMargin(), row.bottom() + 1 - height, remarksWidth(), height};
}

void ImportCardList::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const
{
    QTreeView::drawRow(painter, option, index);
    const int height = remarksHeight(index.row());
    if (height == 0)
        return;
    const QRect below(0, option.rect.bottom() + 1 - height, viewport()->width(), height);
    const bool selected = selectionModel() && selectionModel()->isRowSelected(index.row(), {});
    const QPalette::ColorGroup group = colorGroup(this);
    painter->save();
    if (selected)
        painter->fillRect(below, palette().brush(group, QPalette::Highlight));
    painter->setPen(palette().color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(font());
    painter->drawText(QRect(remarksMargin(), below.top(), remarksWidth(), height), kRemarksFlags,
                      m_cards->remarks(index.row(), QLatin1Char('\n')));
    painter->restore();
}

void ImportCardList::resizeEvent(QResizeEvent* event)
{
    QTreeView::resizeEvent(event);
    // The remarks wrap anew: each row's height is asked again.
    if (viewport()->width() != m_laidOutWidth) {
        m_laidOutWidth = viewport()->width();
        scheduleDelayedItemsLayout();
    }
}

} // namespace manager
