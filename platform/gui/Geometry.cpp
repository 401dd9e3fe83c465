#include "Geometry.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace platform {

int twipsToPixels(double twips)
{
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

QSize twipsSize(double width, double height)
{
    return {twipsToPixels(width), twipsToPixels(height)};
}

QRect twipsRect(double left, double top, double width, double height)
{
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

QFont boldUiFont(double pointSize)
{
    QFont font = QApplication::font();
    font.setPointSizeF(pointSize);
    font.setBold(true);
    return font;
}

QFont shrinkUntilFits(QFont font, double smallestPointSize,
                      const std::function<bool(const QFont&)>& fits)
{
    constexpr double kStep = 0.25;
    while (!fits(font) && font.pointSizeF() - kStep >= smallestPointSize)
        font.setPointSizeF(font.pointSizeF() - kStep);
    return font;
}

void centreOnScreen(QWidget* window)
{
    const QScreen* screen = window->screen() ? window->screen() : QApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

} // namespace platform
