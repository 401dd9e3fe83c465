#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <functional>

class QWidget;

// The windows are laid out in twips, as designed: 15 twips make one logical pixel.
namespace platform {

inline constexpr double kTwipsPerPixel = 15.0;

int twipsToPixels(double twips);
QSize twipsSize(double width, double height);
QRect twipsRect(double left, double top, double width, double height);

// The platform's user interface font, bold, at the given size in points.
QFont boldUiFont(double pointSize);

// The windows were designed for a narrower face than most desktops use. Rather than clip a
// caption, a font is made smaller a quarter point at a time until `fits` accepts it or the
// smallest size is reached.
QFont shrinkUntilFits(QFont font, double smallestPointSize,
                      const std::function<bool(const QFont&)>& fits);

// The same, for texts that need `overflow` times the room they have (1 or less fits): the
// overflow at the first size tells which size to try, so that one or two sizes are tried instead
// of every size on the way down. Each size tried costs a font engine.
QFont shrinkToFit(QFont font, double smallestPointSize,
                  const std::function<double(const QFont&)>& overflow);

// Places the window in the middle of its screen.
void centreOnScreen(QWidget* window);

} // namespace platform
