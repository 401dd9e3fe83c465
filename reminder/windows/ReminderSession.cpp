#include "reminder/windows/ReminderSession.h"

#include "reminder/windows/ManagerLauncher.h"

#include <QCoreApplication>

namespace reminder {

ReminderSession::ReminderSession(std::filesystem::path programDir, reminder::Date today,
                                 Actions actions)
    : m_programDir(std::move(programDir)), m_today(today), m_actions(std::move(actions))
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
    const bool otherOpen = m_upcomingWindowOpen;
    m_todayWindowOpen = false;
    if (!otherOpen)
        end();
}

void ReminderSession::upcomingWindowClosed()
{
    const bool otherOpen = m_todayWindowOpen;
    m_upcomingWindowOpen = false;
    if (!otherOpen)
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
