#include "ReminderSession.h"

#include "ManagerLauncher.h"

#include <QCoreApplication>

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

void ReminderSession::cumpleClosed()
{
    const bool otherOpen = m_faltanabierto;
    m_cumpleabierto = false;
    if (!otherOpen)
        end();
}

void ReminderSession::faltanClosed()
{
    const bool otherOpen = m_cumpleabierto;
    m_faltanabierto = false;
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
