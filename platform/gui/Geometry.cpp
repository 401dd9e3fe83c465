#include "platform/gui/Geometry.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
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

QFont shrinkToFit(QFont font, double smallestPointSize,
                  const std::function<double(const QFont&)>& overflow)
{
    constexpr double kStep = 0.25;
    const double largest = font.pointSizeF();
    const double ratio = overflow(font);
    if (ratio <= 1)
        return font;
    const auto sizeAt = [&](int steps) { return largest - steps * kStep; };
    const auto fits = [&](int steps) {
        font.setPointSizeF(sizeAt(steps));
        return overflow(font) <= 1;
    };
    const int lastStep = static_cast<int>((largest - smallestPointSize) / kStep + 1e-9);
    if (lastStep < 1)
        return font;
    // Text widths grow about as the size: the largest step under the size that the overflow
    // asks for fits, or one a little smaller does. The step above it would need more room than
    // the texts have, so it is not tried: each size tried costs a font engine.
    int steps =
        std::clamp(static_cast<int>(std::ceil((largest - largest / ratio) / kStep)), 1, lastStep);
    while (steps < lastStep && !fits(steps))
        ++steps;
    font.setPointSizeF(sizeAt(steps));
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
