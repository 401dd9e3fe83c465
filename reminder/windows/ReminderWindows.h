#pragma once

#include "DueBirthdays.h"

#include <memory>

class FrmCumple;
class FrmFaltan;
class ReminderSession;

// The windows of one run, made for the names the scan found: FrmFaltan when some birthday is 1
// to 3 days away, FrmCumple when some is today. A window without names is never made.
class ReminderWindows {
public:
    ReminderWindows(ReminderSession& session, const reminder::DueBirthdays& due);
    ~ReminderWindows();

    // FrmFaltan first, then FrmCumple, as the scan shows them after each line: FrmCumple ends on
    // top, with the focus. Both shown stand side by side; one alone is centred on the screen.
    // Each is marked open.
    void show();

    // The windows still open come to the front, FrmCumple on top.
    void bringToFront();

    FrmCumple* cumple() const { return m_cumple.get(); }
    FrmFaltan* faltan() const { return m_faltan.get(); }

private:
    ReminderSession& m_session;
    std::unique_ptr<FrmFaltan> m_faltan;
    std::unique_ptr<FrmCumple> m_cumple;
};
