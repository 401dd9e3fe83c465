#pragma once

#include "reminder/core/AgeDays.h"
#include "reminder/core/CalendarDate.h"

#include <filesystem>
#include <functional>

namespace reminder {

// What the reminder windows share for the whole run: the program directory, the date of the scan,
// what the age update may do that day, which of them is open (cumpleabierto, faltanabierto, and
// the window of birthdays caught up) and how the program ends. Closing one window leaves the
// program running while another is open; closing the last one ends it.
class ReminderSession {
public:
    struct Actions {
        std::function<void()> endProgram;   // at once, without closing the windows one by one
        std::function<void()> startManager; // returns without waiting for the manager
    };

    ReminderSession(std::filesystem::path programDir, reminder::Date today, Actions actions,
                    AgeDays ageDays = {});

    // Ending leaves the event loop; the manager is Agendela beside the reminder.
    static Actions programActions(const std::filesystem::path& programDir);

    const std::filesystem::path& programDir() const { return m_programDir; }
    reminder::Date today() const { return m_today; }
    const AgeDays& ageDays() const { return m_ageDays; }

    bool todayWindowOpen() const { return m_todayWindowOpen; }
    bool upcomingWindowOpen() const { return m_upcomingWindowOpen; }
    void setTodayWindowOpen(bool open) { m_todayWindowOpen = open; }
    void setUpcomingWindowOpen(bool open) { m_upcomingWindowOpen = open; }
    bool missedWindowOpen() const { return m_missedWindowOpen; }
    void setMissedWindowOpen(bool open) { m_missedWindowOpen = open; }

    // "Salir", Escape and the close box of each window.
    void todayWindowClosed();
    void upcomingWindowClosed();
    void missedWindowClosed();

    // "Abrir Bases De Datos" and "Abrir Base De Datos": the reminder ends whether or not the
    // manager started.
    void openManager();

    bool ended() const { return m_ended; }

private:
    void endUnlessAWindowIsOpen();
    void end();

    std::filesystem::path m_programDir;
    reminder::Date m_today;
    Actions m_actions;
    AgeDays m_ageDays;
    bool m_todayWindowOpen = false;
    bool m_upcomingWindowOpen = false;
    bool m_missedWindowOpen = false;
    bool m_ended = false;
};

} // namespace reminder
