#include "platform/gui/PairPlacement.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace platform {
namespace {

// Before a window is shown its frame is unknown. The gaps are wider than the borders (beside)
// and the title bar with the borders (below) of common window managers, so that the frames
// never overlap; below, also wide enough for the line the today window may grow by when it
// cannot save the ages.
constexpr int kGapBeside = 24;
constexpr int kGapBelow = 64;

} // namespace

PairPlacement placePair(QSize first, QSize second, const QRect& available)
{
    const QPoint centre = available.center();
    const int besideWidth = first.width() + kGapBeside + second.width();
    const int besideHeight = std::max(first.height(), second.height());
    if (besideWidth <= available.width() && besideHeight <= available.height()) {
        const QPoint topLeft(centre.x() - besideWidth / 2, centre.y() - besideHeight / 2);
        return {topLeft, topLeft + QPoint(first.width() + kGapBeside, 0)};
    }
    const int belowHeight = first.height() + kGapBelow + second.height();
    const int belowWidth = std::max(first.width(), second.width());
    if (belowHeight <= available.height() && belowWidth <= available.width()) {
        const int top = centre.y() - belowHeight / 2;
        return {QPoint(centre.x() - first.width() / 2, top),
                QPoint(centre.x() - second.width() / 2, top + first.height() + kGapBelow)};
    }
    const QPoint bottomRight = available.bottomRight() + QPoint(1, 1);
    return {available.topLeft(),
            QPoint(std::max(available.left(), bottomRight.x() - second.width()),
                   std::max(available.top(), bottomRight.y() - second.height()))};
}

void placePairOnScreen(QWidget* first, QWidget* second)
{
    const QScreen* screen = first->screen() ? first->screen() : QApplication::primaryScreen();
    if (!screen)
        return;
    const PairPlacement placement = placePair(
        first->frameGeometry().size(), second->frameGeometry().size(), screen->availableGeometry());
    first->move(placement.first);
    second->move(placement.second);
}

} // namespace platform
