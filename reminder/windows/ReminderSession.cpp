#include "reminder/windows/ReminderSession.h"

#include "reminder/windows/ManagerLauncher.h"

#include <QCoreApplication>

namespace reminder {

ReminderSession::ReminderSession(std::filesystem::path programDir, reminder::Date today,
                                 Actions actions, AgeDays ageDays)
    : m_programDir(std::move(programDir)), m_today(today), m_actions(std::move(actions)),
      m_ageDays(ageDays)
{}

ReminderSession::Actions ReminderSession::programActions(const std::filesystem::path& programDir)
{
    return Actions{
        [] { QCoreApplication::exit(0); },
        [programDir] { startManagerMinimized(programDir); },
    };
}

void ReminderSession::todayWindowClosed()
{
    m_todayWindowOpen = false;
    endUnlessAWindowIsOpen();
}

void ReminderSession::upcomingWindowClosed()
{
    m_upcomingWindowOpen = false;
    endUnlessAWindowIsOpen();
}

void ReminderSession::missedWindowClosed()
{
    m_missedWindowOpen = false;
    endUnlessAWindowIsOpen();
}

void ReminderSession::endUnlessAWindowIsOpen()
{
    if (!m_todayWindowOpen && !m_upcomingWindowOpen && !m_missedWindowOpen)
        end();
}

void ReminderSession::openManager()
{
    if (m_actions.startManager)
        m_actions.startManager();
    end();
}

void ReminderSession::end()
{
    m_ended = true;
    if (m_actions.endProgram)
        m_actions.endProgram();
}

} // namespace reminder
