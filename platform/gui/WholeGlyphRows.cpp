#include "platform/gui/WholeGlyphRows.h"

#include <QAbstractItemView>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cmath>

namespace platform {
namespace {

// The letters that reach highest (accented capitals, the ring of Å) and lowest (the cedilla and
// the descenders) in the texts a contact file can hold.
const QString kExtremeLetters = QStringLiteral("ÁÉÍÓÚÜÑÅÇÊgjpqy");

// How many logical pixels the ink of the extreme letters needs beyond the font's declared
// ascent and descent, on the side that needs more. Measured by drawing them at the display's
// pixel ratio: the metrics a font declares, and even its glyphs' bounding boxes, are rounded and
// tell the ink only to a pixel or two.
int measureInkOverflow(const QFont& font, qreal pixelRatio)
{
    const QFontMetrics metrics(font);
    const int margin = metrics.height();
    const QSize room(metrics.horizontalAdvance(kExtremeLetters) + 2 * margin, 3 * margin);
    // The format the windows are painted in: another one may shade the edges differently.
    QImage image(room * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Qt::white);
    const int baseline = margin + metrics.ascent();
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPoint(margin, baseline), kExtremeLetters);
    }
    const QRgb paper = image.pixel(0, 0);
    const auto inked = [&image, paper](int y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        return std::any_of(line, line + image.width(),
                           [paper](QRgb pixel) { return pixel != paper; });
    };
    int top = 0;
    while (top < image.height() && !inked(top))
        ++top;
    int bottom = image.height() - 1;
    while (bottom > top && !inked(bottom))
        --bottom;
    if (top >= image.height())
        return 0;
    const double inkAbove = baseline - top / pixelRatio;
    const double inkBelow = (bottom + 1) / pixelRatio - baseline;
    const int above = static_cast<int>(std::ceil(inkAbove - 1e-9)) - metrics.ascent();
    const int below = static_cast<int>(std::ceil(inkBelow - 1e-9)) - metrics.descent();
    return std::max({above, below, 0});
}

int inkOverflow(const QFont& font, qreal pixelRatio)
{
    // Asked for every layout of a list: measured once per font and display.
    static QHash<QString, int> known;
    const QString key = font.key() + QLatin1Char('@') + QString::number(pixelRatio);
    auto found = known.constFind(key);
    if (found == known.constEnd())
        found = known.insert(key, measureInkOverflow(font, pixelRatio));
    return *found;
}

class WholeGlyphDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        const qreal pixelRatio = option.widget ? option.widget->devicePixelRatioF() : 1.0;
        // The text is centred on its line: growing the row by twice the overflow gives the ink
        // the room it needs on both sides.
        const int needed =
            QFontMetrics(option.font).height() + 2 * inkOverflow(option.font, pixelRatio);
        size.setHeight(std::max(size.height(), needed));
        return size;
    }
};

} // namespace

void giveRowsRoomForAccents(QAbstractItemView* view)
{
    view->setItemDelegate(new WholeGlyphDelegate(view));
}

} // namespace platform
