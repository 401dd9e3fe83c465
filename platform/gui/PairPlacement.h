#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace platform {

// Where two windows shown together go so that both can be seen: side by side, the first on the
// left, tops in line, the pair centred on the screen. A screen too narrow for that gets them one
// above the other, the pair centred; a screen too small for either keeps the first in its top
// left corner and the second in its bottom right corner, so that they overlap as little as the
// screen allows. The gaps leave room for the frames the window manager adds.
struct PairPlacement {
    QPoint first;
    QPoint second;
};
PairPlacement placePair(QSize first, QSize second, const QRect& available);

// Moves two windows that are about to be shown to their places on the first one's screen.
void placePairOnScreen(QWidget* first, QWidget* second);

} // namespace platform
