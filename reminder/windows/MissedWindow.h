#pragma once

#include "reminder/core/AgeUpdate.h"

#include <QString>
#include <QWidget>
#include <vector>

class QListWidget;
class QPushButton;

namespace reminder {

class ReminderSession;

// One birthday that passed without a reminder, as the windows tell it: the name and the day,
// "Ana Núñez (sábado 5/12)".
QString missedBirthdayText(const CaughtUpBirthday& birthday);

// The line of the today window that tells them: "Cumpleaños que pasaron sin aviso: Ana Núñez
// (sábado 5/12), Bea (domingo 6/12)." At most kMissedInOneLine are named, then "y N más".
inline constexpr std::size_t kMissedInOneLine = 5;
QString missedBirthdaysLine(const std::vector<CaughtUpBirthday>& birthdays);

// "¡¡CUMPLEAÑOS SIN AVISO!!": the birthdays the reminder caught up on a day without birthdays
// of its own, one per row, styled as the other two windows, with their two buttons. It is shown
// only when some birthday was caught up; closing it by "Salir", Escape or its close box follows
// the same rule as the others: the program ends with the last open window.
class MissedWindow : public QWidget {
    Q_OBJECT
public:
    explicit MissedWindow(ReminderSession& session, QWidget* parent = nullptr);

    void addBirthday(const CaughtUpBirthday& birthday);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void setUpTabOrder();

    ReminderSession& m_session;
    QListWidget* m_list = nullptr;
    QPushButton* m_openManagerButton = nullptr;
    QPushButton* m_quitButton = nullptr;
};

} // namespace reminder
