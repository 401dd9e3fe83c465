#pragma once

class QKeyEvent;
class QWidget;

namespace platform {

// Enter in a dialog presses the button that has the focus, and nothing else: it never accepts
// the dialog behind the user's back. True when the key was Enter (it is then taken).
bool pressFocusedButtonOnEnter(QWidget* dialog, QKeyEvent* event);

} // namespace platform
