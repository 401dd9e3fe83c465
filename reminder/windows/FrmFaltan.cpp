#include "FrmFaltan.h"

#include "Accessibility.h"
#include "ReminderSession.h"
#include "ShownText.h"
#include "WindowControls.h"

#include <QCloseEvent>

using namespace reminder_windows;

namespace {

constexpr double kClientWidth = 6255;
constexpr double kClientHeight = 3345;

// The headings are two lines high; their captions wrap onto the second line.
QLabel* makeHeading(QWidget* window, const char* name, const QString& caption, Twips at)
{
    return makeLabel(window, name, caption, at, Lines::Wrapped);
}

} // namespace

FrmFaltan::FrmFaltan(ReminderSession& session, QWidget* parent)
    : QWidget(parent), m_session(session)
{
    setUpWindow(this, "FrmFaltan", QStringLiteral("¡¡FALTAN POCOS DÍAS!!"), kClientWidth,
                kClientHeight);
    buildControls();
    setUpTabOrder();
    m_session.setFaltanabierto(true);
}

void FrmFaltan::buildControls()
{
    QLabel* label1 =
        makeHeading(this, "Label1", QStringLiteral("Faltan 3 días para el cumpleaños de :"),
                    {120, 120, 1695, 495});
    m_lst3d = makeList(this, "lst3d", {120, 720, 1695, 2010});
    platform::nameAfterLabel(label1, m_lst3d);
    QLabel* label2 =
        makeHeading(this, "Label2", QStringLiteral("Faltan 2 días para el cumpleaños de :"),
                    {2280, 120, 1695, 495});
    m_lst2d = makeList(this, "lst2d", {2280, 720, 1695, 2010});
    platform::nameAfterLabel(label2, m_lst2d);
    QLabel* label3 =
        makeHeading(this, "Label3", QStringLiteral("Falta 1 día para el cumpleaños de :"),
                    {4440, 120, 1695, 495});
    useOneSize({label1, label2, label3});
    m_lst1d = makeList(this, "lst1d", {4440, 720, 1695, 2010});
    platform::nameAfterLabel(label3, m_lst1d);
    m_cmdabrir =
        makeButton(this, "cmdabrir", QStringLiteral("Abrir Base De Datos"), {120, 2880, 2775, 375});
    m_cmdend = makeButton(this, "cmdend", QStringLiteral("Salir"), {3360, 2880, 2775, 375});

    connect(m_cmdabrir, &QPushButton::clicked, this, [this] { m_session.openManager(); });
    connect(m_cmdend, &QPushButton::clicked, this, &QWidget::close);
}

void FrmFaltan::setUpTabOrder()
{
    QWidget* const order[] = {m_lst3d, m_lst2d, m_lst1d, m_cmdend, m_cmdabrir};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    m_lst3d->setFocus();
}

QListWidget* FrmFaltan::listFor(DaysLeft daysLeft) const
{
    switch (daysLeft) {
    case DaysLeft::One:
        return m_lst1d;
    case DaysLeft::Two:
        return m_lst2d;
    case DaysLeft::Three:
        break;
    }
    return m_lst3d;
}

void FrmFaltan::addName(DaysLeft daysLeft, const std::string& name)
{
    // The list measures every row's text: the start of a long name is what it shows.
    listFor(daysLeft)->addItem(platform::shownFileText(name, platform::kShownInRow));
}

void FrmFaltan::closeEvent(QCloseEvent* event)
{
    event->accept();
    m_session.faltanClosed();
}
