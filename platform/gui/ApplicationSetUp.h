#pragma once

class QApplication;

namespace platform {

// What both programs do with their application object before they make a window: its name,
// Tortavela's icon (once a first window is painted), Qt's own Spanish translations, menus
// reachable from the keyboard with F10 or Alt, and window roles for the accessibility tree.
void setUpApplication(QApplication& app, const char* programName);

} // namespace platform
