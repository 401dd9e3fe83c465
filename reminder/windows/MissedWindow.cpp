#include "reminder/windows/MissedWindow.h"

#include "platform/gui/Accessibility.h"
#include "platform/gui/ShownText.h"
#include "reminder/core/AgeDays.h"
#include "reminder/windows/ObjectNames.h"
#include "reminder/windows/ReminderSession.h"
#include "reminder/windows/WindowControls.h"

#include <QCloseEvent>

namespace reminder {

namespace {

// The size of the upcoming birthdays' window, which it stands beside.
constexpr double kClientWidth = 6255;
constexpr double kClientHeight = 3345;
// A name in the today window's line: its start, the line names several.
constexpr qsizetype kShownInLine = 60;

QString describe(const CaughtUpBirthday& birthday, qsizetype most)
{
    return QStringLiteral("%1 (%2)").arg(
        platform::shownFileText(birthday.name, most),
        QString::fromStdString(reminder::weekdayAndDate(birthday.date)));
}

} // namespace

QString missedBirthdayText(const CaughtUpBirthday& birthday)
{
    return describe(birthday, platform::kShownInRow);
}

QString missedBirthdaysLine(const std::vector<CaughtUpBirthday>& birthdays)
{
    QStringList named;
    for (std::size_t i = 0; i < birthdays.size() && i < kMissedInOneLine; ++i)
        named << describe(birthdays[i], kShownInLine);
    QString line = QStringLiteral("Cumpleaños que pasaron sin aviso: ") + named.join(u", ");
    if (birthdays.size() > kMissedInOneLine)
        line += QStringLiteral(" y %1 más").arg(birthdays.size() - kMissedInOneLine);
    return line + u'.';
}

MissedWindow::MissedWindow(ReminderSession& session, QWidget* parent)
    : QWidget(parent), m_session(session)
{
    setUpWindow(this, objectName::missedWindow, QStringLiteral("¡¡CUMPLEAÑOS SIN AVISO!!"),
                kClientWidth, kClientHeight);
    buildControls();
    setUpTabOrder();
    closeOnEscape(this);
}

void MissedWindow::buildControls()
{
    QLabel* heading =
        makeLabel(this, objectName::missedHeading,
                  QStringLiteral("Cumpleaños que pasaron sin aviso :"), {120, 120, 6015, 255});
    m_list = makeList(this, objectName::missedList, {120, 480, 6015, 2250});
    platform::nameAfterLabel(heading, m_list);
    const ButtonRow buttons = makeButtonRow(this, m_session);
    m_openManagerButton = buttons.openManager;
    m_quitButton = buttons.quit;
}

void MissedWindow::setUpTabOrder()
{
    setTabOrder(m_list, m_quitButton);
    setTabOrder(m_quitButton, m_openManagerButton);
    m_list->setFocus();
}

void MissedWindow::addBirthday(const CaughtUpBirthday& birthday)
{
    m_list->addItem(missedBirthdayText(birthday));
}

void MissedWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    m_session.missedWindowClosed();
}

} // namespace reminder
