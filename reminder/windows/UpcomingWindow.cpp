#include "reminder/windows/UpcomingWindow.h"

#include "platform/gui/Accessibility.h"
#include "platform/gui/ShownText.h"
#include "reminder/windows/ObjectNames.h"
#include "reminder/windows/ReminderSession.h"
#include "reminder/windows/WindowControls.h"

#include <QCloseEvent>

namespace reminder {

namespace {

constexpr double kClientWidth = 6255;
constexpr double kClientHeight = 3345;

// The headings are two lines high; their captions wrap onto the second line.
QLabel* makeHeading(QWidget* window, const char* name, const QString& caption, Twips at)
{
    return makeLabel(window, name, caption, at, Lines::Wrapped);
}

} // namespace

UpcomingWindow::UpcomingWindow(ReminderSession& session, QWidget* parent)
    : QWidget(parent), m_session(session)
{
    setUpWindow(this, objectName::upcomingWindow, QStringLiteral("¡¡FALTAN POCOS DÍAS!!"),
                kClientWidth, kClientHeight);
    buildControls();
    setUpTabOrder();
    closeOnEscape(this);
    m_session.setUpcomingWindowOpen(true);
}

void UpcomingWindow::buildControls()
{
    QLabel* label1 =
        makeHeading(this, objectName::inThreeDaysHeading,
                    QStringLiteral("Faltan 3 días para el cumpleaños de :"), {120, 120, 1695, 495});
    m_inThreeDays = makeList(this, objectName::inThreeDays, {120, 720, 1695, 2010});
    platform::nameAfterLabel(label1, m_inThreeDays);
    QLabel* label2 = makeHeading(this, objectName::inTwoDaysHeading,
                                 QStringLiteral("Faltan 2 días para el cumpleaños de :"),
                                 {2280, 120, 1695, 495});
    m_inTwoDays = makeList(this, objectName::inTwoDays, {2280, 720, 1695, 2010});
    platform::nameAfterLabel(label2, m_inTwoDays);
    QLabel* label3 =
        makeHeading(this, objectName::tomorrowHeading,
                    QStringLiteral("Falta 1 día para el cumpleaños de :"), {4440, 120, 1695, 495});
    useOneSize({label1, label2, label3});
    m_tomorrow = makeList(this, objectName::tomorrow, {4440, 720, 1695, 2010});
    platform::nameAfterLabel(label3, m_tomorrow);
    const ButtonRow buttons = makeButtonRow(this, m_session);
    m_openManagerButton = buttons.openManager;
    m_quitButton = buttons.quit;
}

void UpcomingWindow::setUpTabOrder()
{
    QWidget* const order[] = {m_inThreeDays, m_inTwoDays, m_tomorrow, m_quitButton,
                              m_openManagerButton};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    m_inThreeDays->setFocus();
}

QListWidget* UpcomingWindow::listFor(DaysLeft daysLeft) const
{
    switch (daysLeft) {
    case DaysLeft::One:
        return m_tomorrow;
    case DaysLeft::Two:
        return m_inTwoDays;
    case DaysLeft::Three:
        break;
    }
    return m_inThreeDays;
}

void UpcomingWindow::addName(DaysLeft daysLeft, const std::string& name)
{
    // The list measures every row's text: the start of a long name is what it shows.
    listFor(daysLeft)->addItem(platform::shownFileText(name, platform::kShownInRow));
}

void UpcomingWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    m_session.upcomingWindowClosed();
}

} // namespace reminder
