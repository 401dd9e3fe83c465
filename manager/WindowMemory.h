#pragma once

#include <QSize>
#include <filesystem>
#include <optional>
#include <vector>

namespace manager {

// What the main window remembers from one run to the next: its size and the widths of the list's
// columns. They are the user's preference on this computer, not part of the contact book, so
// they live in the user's configuration folder and never beside data.tvl.
struct WindowMemory {
    QSize size;
    bool maximized = false;
    std::vector<int> columnWidths;
};

// $XDG_CONFIG_HOME/tortavela/Agendela.conf, or ~/.config/tortavela/Agendela.conf when the
// variable is unset or not absolute.
std::filesystem::path windowMemoryFile();

// What the file holds; nothing when it holds no size (a first run, or a file made by hand).
std::optional<WindowMemory> recallWindow(const std::filesystem::path& file);

// Written whole; a failure is not reported, since the window only loses its memory.
void rememberWindow(const std::filesystem::path& file, const WindowMemory& memory);

} // namespace manager
