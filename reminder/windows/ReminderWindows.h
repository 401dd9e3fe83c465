#pragma once

#include "reminder/core/AgeUpdate.h"
#include "reminder/core/DueBirthdays.h"

#include <memory>
#include <vector>

namespace reminder {

class MissedWindow;
class TodayWindow;
class UpcomingWindow;
class ReminderSession;

// The windows of one run, made for the names the scan found: UpcomingWindow when some birthday is 1
// to 3 days away, TodayWindow when some is today, MissedWindow when the start caught up birthdays
// that passed without a reminder (which it does itself only on a day without a TodayWindow). A
// window without names is never made.
class ReminderWindows {
public:
    ReminderWindows(ReminderSession& session, const reminder::DueBirthdays& due,
                    const std::vector<CaughtUpBirthday>& caughtUp = {});
    ~ReminderWindows();

    // UpcomingWindow first, then TodayWindow or MissedWindow, as the scan shows them after each
    // line: that one ends on top, with the focus. Two shown stand side by side, today's or the
    // missed ones on the left; one alone is centred on the screen. Each is marked open.
    void show();

    // The windows still open come to the front, TodayWindow on top.
    void bringToFront();

    TodayWindow* todayWindow() const { return m_todayWindow.get(); }
    UpcomingWindow* upcomingWindow() const { return m_upcomingWindow.get(); }
    MissedWindow* missedWindow() const { return m_missedWindow.get(); }

private:
    ReminderSession& m_session;
    std::unique_ptr<UpcomingWindow> m_upcomingWindow;
    std::unique_ptr<TodayWindow> m_todayWindow;
    std::unique_ptr<MissedWindow> m_missedWindow;
};

} // namespace reminder
