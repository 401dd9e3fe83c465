#include "platform/gui/ProgramStyle.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOption>

namespace platform {
namespace {

// Two chevrons pointing right (»), or down for a vertical bar, in the text colour of the mode.
class ExtensionArrowsEngine : public QIconEngine {
public:
    explicit ExtensionArrowsEngine(Qt::Orientation orientation) : m_orientation(orientation) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override
    {
        const qreal side = qMin(rect.width(), rect.height()) * 0.6;
        const QRectF box(QPointF(0, 0), QSizeF(side, side));
        QPainterPath arrows;
        for (const qreal offset : {0.0, side / 2}) {
            arrows.moveTo(offset, 0);
            arrows.lineTo(offset + side / 2, side / 2);
            arrows.lineTo(offset, side);
        }
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(QRectF(rect).center() - box.center());
        if (m_orientation == Qt::Vertical) {
            painter->translate(box.center());
            painter->rotate(90);
            painter->translate(-box.center());
        }
        const QPalette::ColorGroup group =
            mode == QIcon::Disabled ? QPalette::Disabled : QPalette::Active;
        painter->setPen(QPen(QPalette().color(group, QPalette::ButtonText), qMax(1.0, side / 8)));
        painter->drawPath(arrows);
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, pixmap.rect(), mode, state);
        return pixmap;
    }

    QIconEngine* clone() const override { return new ExtensionArrowsEngine(m_orientation); }

private:
    Qt::Orientation m_orientation;
};

} // namespace

int ProgramStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                            QStyleHintReturn* returnData) const
{
    if (hint == SH_MenuBar_AltKeyNavigation)
        return 1;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

QIcon ProgramStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                                 const QWidget* widget) const
{
    if (standardIcon == SP_ToolBarHorizontalExtensionButton)
        return QIcon(new ExtensionArrowsEngine(Qt::Horizontal));
    if (standardIcon == SP_ToolBarVerticalExtensionButton)
        return QIcon(new ExtensionArrowsEngine(Qt::Vertical));
    return QProxyStyle::standardIcon(standardIcon, option, widget);
}

void ProgramStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const
{
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    // A list's check box is drawn as a check box too (PE_IndicatorItemViewItemCheck), through
    // this style.
    if (element != PE_IndicatorCheckBox)
        return;
    const QPalette& palette = option->palette;
    const QColor text = palette.color(QPalette::Text);
    const QColor base = palette.color(QPalette::Base);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(QColor::fromRgbF((text.redF() + base.redF()) / 2,
                                     (text.greenF() + base.greenF()) / 2,
                                     (text.blueF() + base.blueF()) / 2));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
    painter->restore();
}

} // namespace platform
