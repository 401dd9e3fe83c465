#include "reminder/windows/ReminderWindows.h"

#include "platform/gui/BringToFront.h"
#include "platform/gui/Geometry.h"
#include "platform/gui/PairPlacement.h"
#include "reminder/windows/ReminderSession.h"
#include "reminder/windows/TodayWindow.h"
#include "reminder/windows/UpcomingWindow.h"

namespace reminder {

ReminderWindows::ReminderWindows(ReminderSession& session, const reminder::DueBirthdays& due)
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
}

ReminderWindows::~ReminderWindows() = default;

void ReminderWindows::show()
{
    // Together, neither may hide the other: today's birthdays on the left, the coming ones
    // beside them. Alone, a window stands in the middle of the screen.
    if (m_upcomingWindow && m_todayWindow)
        platform::placePairOnScreen(m_todayWindow.get(), m_upcomingWindow.get());
    else if (m_upcomingWindow)
        platform::centreOnScreen(m_upcomingWindow.get());
    else if (m_todayWindow)
        platform::centreOnScreen(m_todayWindow.get());
    if (m_upcomingWindow) {
        m_upcomingWindow->show();
        m_session.setUpcomingWindowOpen(true);
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
    if (m_todayWindow && m_session.todayWindowOpen())
        platform::bringToFront(m_todayWindow.get());
}

} // namespace reminder
