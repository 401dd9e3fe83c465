#pragma once

#include <QImage>
#include <QSize>

namespace manager {

// The About window's artwork: the product's name over a birthday cake, balloons and confetti.
// It is drawn by the program itself, so no picture file has to travel with it.
inline constexpr QSize kAboutPictureSize{363, 255};

// 24-bit colour, kAboutPictureSize. Draws the same picture every time.
QImage drawAboutPicture();

} // namespace manager
