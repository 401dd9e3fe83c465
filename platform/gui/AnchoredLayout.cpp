#include "platform/gui/AnchoredLayout.h"

#include <QWidget>
#include <QWidgetItem>

namespace platform {
namespace {

// One dimension of a control: its start and length once the window has grown by `growth`.
void follow(int& start, int& length, int growth, bool nearEdge, bool farEdge)
{
    if (farEdge && nearEdge)
        length += growth;
    else if (farEdge)
        start += growth;
}

} // namespace

AnchoredLayout::AnchoredLayout(QWidget* parent, QSize designSize)
    : QLayout(parent), m_designSize(designSize)
{
    setContentsMargins(0, 0, 0, 0);
}

AnchoredLayout::~AnchoredLayout()
{
    for (const Placed& placed : m_items)
        delete placed.item;
}

void AnchoredLayout::addWidget(QWidget* widget, QRect designed, int anchors)
{
    addChildWidget(widget);
    m_items.push_back({new QWidgetItem(widget), designed, anchors});
    widget->setGeometry(designed);
    invalidate();
}

void AnchoredLayout::addItem(QLayoutItem* item)
{
    // An item given without a place stays where it stands, as it was designed.
    const QRect designed = item->widget() ? item->widget()->geometry() : item->geometry();
    m_items.push_back({item, designed, TopLeft});
}

QLayoutItem* AnchoredLayout::itemAt(int index) const
{
    return index >= 0 && index < count() ? m_items[static_cast<size_t>(index)].item : nullptr;
}

QLayoutItem* AnchoredLayout::takeAt(int index)
{
    if (index < 0 || index >= count())
        return nullptr;
    QLayoutItem* item = m_items[static_cast<size_t>(index)].item;
    m_items.erase(m_items.begin() + index);
    return item;
}

void AnchoredLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    const int wider = std::max(0, rect.width() - m_designSize.width());
    const int taller = std::max(0, rect.height() - m_designSize.height());
    for (const Placed& placed : m_items) {
        int left = placed.designed.left();
        int width = placed.designed.width();
        int top = placed.designed.top();
        int height = placed.designed.height();
        follow(left, width, wider, placed.anchors & Left, placed.anchors & Right);
        follow(top, height, taller, placed.anchors & Top, placed.anchors & Bottom);
        const QRect place(rect.left() + left, rect.top() + top, width, height);
        // The widget itself, not its layout item: an item would trim the place by the style's
        // margins and by the widget's size hints, and the designed places are exact.
        if (QWidget* widget = placed.item->widget())
            widget->setGeometry(place);
        else
            placed.item->setGeometry(place);
    }
}

} // namespace platform
