#pragma once

#include <functional>

namespace manager {

class MainWindow;

// Agendela's whole run: the one copy of its program directory, the contacts read while Qt
// connects to the display, the main window shown (minimized when the reminder asked for it)
// and the event loop. `beforeShow` lets the start-up benchmark watch the real window.
int runManager(int argc, char* argv[], const std::function<void(MainWindow&)>& beforeShow = {});

} // namespace manager
