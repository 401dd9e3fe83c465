#include "platform/gui/ProgramStyle.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOption>

namespace platform {
namespace {

// The icons the style draws itself rather than reading them from an image file: read, the first
// of them would load every image plugin Qt has before the main window's first paint.
enum class DrawnIcon {
    ArrowsRight, // a menu bar's extension button: two chevrons (»)
    ArrowsDown,  // the same for a vertical bar
    Cross,       // a search box's clear button (×)
};

class DrawnIconEngine : public QIconEngine {
public:
    explicit DrawnIconEngine(DrawnIcon icon) : m_icon(icon) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override
    {
        const qreal side = qMin(rect.width(), rect.height()) * 0.6;
        const QRectF box(QPointF(0, 0), QSizeF(side, side));
        QPainterPath shape;
        if (m_icon == DrawnIcon::Cross) {
            shape.moveTo(box.topLeft());
            shape.lineTo(box.bottomRight());
            shape.moveTo(box.topRight());
            shape.lineTo(box.bottomLeft());
        } else {
            for (const qreal offset : {0.0, side / 2}) {
                shape.moveTo(offset, 0);
                shape.lineTo(offset + side / 2, side / 2);
                shape.lineTo(offset, side);
            }
        }
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(QRectF(rect).center() - box.center());
        if (m_icon == DrawnIcon::ArrowsDown) {
            painter->translate(box.center());
            painter->rotate(90);
            painter->translate(-box.center());
        }
        const QPalette::ColorGroup group =
            mode == QIcon::Disabled ? QPalette::Disabled : QPalette::Active;
        painter->setPen(QPen(QPalette().color(group, QPalette::ButtonText), qMax(1.0, side / 8)));
        painter->drawPath(shape);
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

    QIconEngine* clone() const override { return new DrawnIconEngine(m_icon); }

private:
    DrawnIcon m_icon;
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
        return QIcon(new DrawnIconEngine(DrawnIcon::ArrowsRight));
    if (standardIcon == SP_ToolBarVerticalExtensionButton)
        return QIcon(new DrawnIconEngine(DrawnIcon::ArrowsDown));
    if (standardIcon == SP_LineEditClearButton)
        return QIcon(new DrawnIconEngine(DrawnIcon::Cross));
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
