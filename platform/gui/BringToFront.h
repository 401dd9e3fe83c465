#pragma once

#include "platform/LaterStarts.h"

#include <functional>

class QObject;
class QWidget;

namespace platform {

// Brings a window to the front as the user left it, restored if it was minimized, with the
// dialogs open over it on top, and gives it the focus.
void bringToFront(QWidget* window);

// From now on, each later start of the program that calls (see LaterStarts.h) runs
// `comeForward`, as long as `context` lives.
void onLaterStart(QObject* context, LaterStarts laterStarts, std::function<void()> comeForward);

} // namespace platform
