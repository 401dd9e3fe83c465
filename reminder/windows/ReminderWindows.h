#pragma once

#include "reminder/core/DueBirthdays.h"

#include <memory>

namespace reminder {

class TodayWindow;
class UpcomingWindow;
class ReminderSession;

// The windows of one run, made for the names the scan found: UpcomingWindow when some birthday is 1
// to 3 days away, TodayWindow when some is today. A window without names is never made.
class ReminderWindows {
public:
    ReminderWindows(ReminderSession& session, const reminder::DueBirthdays& due);
    ~ReminderWindows();

    // UpcomingWindow first, then TodayWindow, as the scan shows them after each line: TodayWindow
    // ends on top, with the focus. Both shown stand side by side; one alone is centred on the
    // screen. Each is marked open.
    void show();

    // The windows still open come to the front, TodayWindow on top.
    void bringToFront();

    TodayWindow* todayWindow() const { return m_todayWindow.get(); }
    UpcomingWindow* upcomingWindow() const { return m_upcomingWindow.get(); }

private:
    ReminderSession& m_session;
    std::unique_ptr<UpcomingWindow> m_upcomingWindow;
    std::unique_ptr<TodayWindow> m_todayWindow;
};

} // namespace reminder
