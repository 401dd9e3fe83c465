#pragma once

#include "reminder/core/CalendarDate.h"

#include <filesystem>
#include <functional>

namespace reminder {

// What the two reminder windows share for the whole run: the program directory, the date of the
// scan, which of them is open (cumpleabierto, faltanabierto) and how the program ends. Closing one
// window leaves the program running while the other is open; closing the last one ends it.
class ReminderSession {
public:
    struct Actions {
        std::function<void()> endProgram;   // at once, without closing the windows one by one
        std::function<void()> startManager; // returns without waiting for the manager
    };

    ReminderSession(std::filesystem::path programDir, reminder::Date today, Actions actions);

    // Ending leaves the event loop; the manager is Agendela beside the reminder.
    static Actions programActions(const std::filesystem::path& programDir);

    const std::filesystem::path& programDir() const { return m_programDir; }
    reminder::Date today() const { return m_today; }

    bool todayWindowOpen() const { return m_todayWindowOpen; }
    bool upcomingWindowOpen() const { return m_upcomingWindowOpen; }
    void setTodayWindowOpen(bool open) { m_todayWindowOpen = open; }
    void setUpcomingWindowOpen(bool open) { m_upcomingWindowOpen = open; }

    // "Salir" and the close box of each window.
    void todayWindowClosed();
    void upcomingWindowClosed();

    // "Abrir Bases De Datos" and "Abrir Base De Datos": the reminder ends whether or not the
    // manager started.
    void openManager();

    bool ended() const { return m_ended; }

private:
    void end();

    std::filesystem::path m_programDir;
    reminder::Date m_today;
    Actions m_actions;
    bool m_todayWindowOpen = false;
    bool m_upcomingWindowOpen = false;
    bool m_ended = false;
};

} // namespace reminder
