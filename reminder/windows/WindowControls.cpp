#include "WindowControls.h"

#include <QFontMetrics>
#include <algorithm>

namespace reminder_windows {
namespace {

constexpr double kSmallestPointSize = 6.0;
constexpr double kPointStep = 0.25;

bool fits(const QLabel* label, const QFont& font)
{
    const QRect room = label->contentsRect();
    const int flags = label->wordWrap() ? Qt::TextWordWrap : Qt::TextSingleLine;
    const QRect needed =
        QFontMetrics(font).boundingRect(QRect(0, 0, room.width(), 10000), flags, label->text());
    return needed.width() <= room.width() && needed.height() <= room.height();
}

} // namespace

void shrinkToFit(QLabel* label)
{
    QFont font = label->font();
    while (!fits(label, font) && font.pointSizeF() - kPointStep >= kSmallestPointSize)
        font.setPointSizeF(font.pointSizeF() - kPointStep);
    label->setFont(font);
}

void useOneSize(std::initializer_list<QLabel*> labels)
{
    double smallest = kControlPointSize;
    for (const QLabel* label : labels)
        smallest = std::min(smallest, label->font().pointSizeF());
    for (QLabel* label : labels) {
        QFont font = label->font();
        font.setPointSizeF(smallest);
        label->setFont(font);
    }
}

} // namespace reminder_windows
