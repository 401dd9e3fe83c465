#include "reminder/windows/ReminderWindows.h"

#include "platform/gui/BringToFront.h"
#include "platform/gui/Geometry.h"
#include "platform/gui/PairPlacement.h"
#include "reminder/windows/MissedWindow.h"
#include "reminder/windows/ReminderSession.h"
#include "reminder/windows/TodayWindow.h"
#include "reminder/windows/UpcomingWindow.h"

namespace reminder {

ReminderWindows::ReminderWindows(ReminderSession& session, const reminder::DueBirthdays& due,
                                 const std::vector<CaughtUpBirthday>& caughtUp)
    : m_session(session)
{
    if (due.anyUpcoming()) {
        m_upcomingWindow = std::make_unique<UpcomingWindow>(session);
        for (const auto& name : due.inThreeDays)
            m_upcomingWindow->addName(UpcomingWindow::DaysLeft::Three, name);
        for (const auto& name : due.inTwoDays)
            m_upcomingWindow->addName(UpcomingWindow::DaysLeft::Two, name);
        for (const auto& name : due.inOneDay)
            m_upcomingWindow->addName(UpcomingWindow::DaysLeft::One, name);
    }
    if (!due.today.empty()) {
        m_todayWindow = std::make_unique<TodayWindow>(session);
        for (const auto& name : due.today)
            m_todayWindow->addName(name);
    }
    if (!caughtUp.empty()) {
        m_missedWindow = std::make_unique<MissedWindow>(session);
        for (const auto& birthday : caughtUp)
            m_missedWindow->addBirthday(birthday);
    }
}

ReminderWindows::~ReminderWindows() = default;

void ReminderWindows::show()
{
    // Together, neither may hide the other: today's birthdays (or the missed ones) on the left,
    // the coming ones beside them. Alone, a window stands in the middle of the screen.
    QWidget* left = m_todayWindow ? static_cast<QWidget*>(m_todayWindow.get()) : nullptr;
    QWidget* alsoShown = m_todayWindow ? static_cast<QWidget*>(m_missedWindow.get()) : nullptr;
    if (!left)
        left = m_missedWindow.get();
    if (left && m_upcomingWindow)
        platform::placePairOnScreen(left, m_upcomingWindow.get());
    else if (m_upcomingWindow)
        platform::centreOnScreen(m_upcomingWindow.get());
    else if (left)
        platform::centreOnScreen(left);
    if (alsoShown)
        platform::centreOnScreen(alsoShown);
    if (m_upcomingWindow) {
        m_upcomingWindow->show();
        m_session.setUpcomingWindowOpen(true);
    }
    if (m_missedWindow) {
        m_missedWindow->show();
        m_session.setMissedWindowOpen(true);
    }
    if (m_todayWindow) {
        m_todayWindow->show();
        m_session.setTodayWindowOpen(true);
    }
}

void ReminderWindows::bringToFront()
{
    if (m_upcomingWindow && m_session.upcomingWindowOpen())
        platform::bringToFront(m_upcomingWindow.get());
    if (m_missedWindow && m_session.missedWindowOpen())
        platform::bringToFront(m_missedWindow.get());
    if (m_todayWindow && m_session.todayWindowOpen())
        platform::bringToFront(m_todayWindow.get());
}

} // namespace reminder
