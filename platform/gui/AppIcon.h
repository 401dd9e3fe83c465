#pragma once

#include <QIcon>
#include <QImage>

namespace platform {

// Tortavela's icon, a birthday cake with one candle, painted at the size asked for so that it
// stays sharp from a title bar to a launcher.
QImage paintAppIcon(int size);
QIcon appIcon();

} // namespace platform
