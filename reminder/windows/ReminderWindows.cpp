#include "ReminderWindows.h"

#include "BringToFront.h"
#include "FrmCumple.h"
#include "FrmFaltan.h"
#include "Geometry.h"
#include "PairPlacement.h"
#include "ReminderSession.h"

ReminderWindows::ReminderWindows(ReminderSession& session, const reminder::DueBirthdays& due)
    : m_session(session)
{
    if (due.anyUpcoming()) {
        m_faltan = std::make_unique<FrmFaltan>(session);
        for (const auto& name : due.inThreeDays)
            m_faltan->addName(FrmFaltan::DaysLeft::Three, name);
        for (const auto& name : due.inTwoDays)
            m_faltan->addName(FrmFaltan::DaysLeft::Two, name);
        for (const auto& name : due.inOneDay)
            m_faltan->addName(FrmFaltan::DaysLeft::One, name);
    }
    if (!due.today.empty()) {
        m_cumple = std::make_unique<FrmCumple>(session);
        for (const auto& name : due.today)
            m_cumple->addName(name);
    }
}

ReminderWindows::~ReminderWindows() = default;

void ReminderWindows::show()
{
    // Together, neither may hide the other: today's birthdays on the left, the coming ones
    // beside them. Alone, a window stands in the middle of the screen.
    if (m_faltan && m_cumple)
        platform::placePairOnScreen(m_cumple.get(), m_faltan.get());
    else if (m_faltan)
        platform::centreOnScreen(m_faltan.get());
    else if (m_cumple)
        platform::centreOnScreen(m_cumple.get());
    if (m_faltan) {
        m_faltan->show();
        m_session.setFaltanabierto(true);
    }
    if (m_cumple) {
        m_cumple->show();
        m_session.setCumpleabierto(true);
    }
}

void ReminderWindows::bringToFront()
{
    if (m_faltan && m_session.faltanabierto())
        platform::bringToFront(m_faltan.get());
    if (m_cumple && m_session.cumpleabierto())
        platform::bringToFront(m_cumple.get());
}
