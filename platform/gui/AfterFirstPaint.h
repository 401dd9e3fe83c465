#pragma once

#include <functional>

class QObject;

namespace platform {

// Runs `work` once, after the first paint of any of the program's windows, or after a short
// while when nothing is painted (a window started minimized): what the user does not see at once
// need not hold back the first sight of a window. `context` going away cancels the work.
void afterFirstPaint(QObject* context, std::function<void()> work);

} // namespace platform
