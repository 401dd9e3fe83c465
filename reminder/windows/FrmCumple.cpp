#include "FrmCumple.h"

#include "Accessibility.h"
#include "AgeUpdate.h"
#include "AnsweringWait.h"
#include "BirthdaySound.h"
#include "ContactDetails.h"
#include "ContactFile.h"
#include "DayFirstDate.h"
#include "Programs.h"
#include "ReminderSession.h"
#include "ShownText.h"
#include "WindowControls.h"

#include <QCloseEvent>
#include <QDate>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTimer>

using namespace reminder_windows;

namespace {

constexpr double kClientWidth = 7050;
constexpr double kClientHeight = 4470;
constexpr double kDatePointSize = 12;
// The line that tells of unsaved ages, below the buttons; the window grows by it when shown.
constexpr Twips kNoticePlace = {120, 4440, 6810, 255};
constexpr double kClientHeightWithNotice = 4815;
constexpr int kTimerIntervalMs = 1;
constexpr qint64 kLongestWaitForPaintMs = 250;
constexpr int kStoredNameRole = Qt::UserRole;

QString noSelection()
{
    return QStringLiteral("NO HAY SELECCIÓN");
}

// The details are shown, never edited: nothing would store an edit.
QLineEdit* makeTextBox(QWidget* window, const char* name, Twips at)
{
    auto* box = placed(new QLineEdit(noSelection(), window), name, at);
    box->setReadOnly(true);
    box->setCursorPosition(0);
    return box;
}

// Only the start of a long value: the box lays out its whole text.
void showText(QLineEdit* box, const std::string& bytes)
{
    box->setText(platform::shownFileText(bytes, platform::kShownInBox));
    box->setCursorPosition(0);
}

} // namespace

FrmCumple::FrmCumple(ReminderSession& session, QWidget* parent)
    : QWidget(parent), m_session(session), m_sound(new BirthdaySound(this))
{
    setUpWindow(this, "FrmCumple", QStringLiteral("¡¡FELIZ CUMPLE!!"), kClientWidth, kClientHeight);
    buildControls();
    setUpTabOrder();

    // Runs from the window's creation; it first fires once the start-up has returned to the
    // event loop, and only that once.
    m_timer1 = new QTimer(this);
    m_timer1->setObjectName("Timer1");
    m_timer1->setInterval(kTimerIntervalMs);
    connect(m_timer1, &QTimer::timeout, this, &FrmCumple::timer1Timer);
    m_sinceCreated.start();
    m_timer1->start();
}

FrmCumple::~FrmCumple() = default;

void FrmCumple::buildControls()
{
    QLabel* label1 =
        makeLabel(this, "Label1", QStringLiteral("CUMPLEAÑOS DE HOY :"), {120, 240, 2295, 255});
    m_lstcumple = makeList(this, "lstcumple", {120, 600, 2175, 3765});
    platform::nameAfterLabel(label1, m_lstcumple);
    m_lbldate = makeLabel(this, "lbldate", QString(), {3720, 120, 2655, 255});
    m_lbldate->setFont(platform::boldUiFont(kDatePointSize));
    QLabel* label3 = makeLabel(this, "Label3", QStringLiteral("Alias :"), {2520, 480, 1335, 255});
    m_txtalias = makeTextBox(this, "txtalias", {2520, 720, 2055, 285});
    platform::nameAfterLabel(label3, m_txtalias);
    QLabel* label2 =
        makeLabel(this, "Label2", QStringLiteral("Hoy cumple :"), {4800, 480, 1935, 255});
    m_txtcumple = makeTextBox(this, "txtcumple", {4800, 720, 2055, 285});
    platform::nameAfterLabel(label2, m_txtcumple);
    QLabel* label4 =
        makeLabel(this, "Label4", QStringLiteral("Teléfono :"), {2520, 1320, 1215, 255});
    m_txtfono = makeTextBox(this, "txtfono", {2520, 1560, 2055, 285});
    platform::nameAfterLabel(label4, m_txtfono);
    QLabel* label6 = makeLabel(this, "Label6", QStringLiteral("E-Mail :"), {4800, 1320, 1215, 255});
    m_txtmail = makeTextBox(this, "txtmail", {4800, 1560, 2055, 285});
    platform::nameAfterLabel(label6, m_txtmail);
    QLabel* label5 =
        makeLabel(this, "Label5", QStringLiteral("Dirección :"), {2520, 2160, 1215, 255});
    m_txtdire = makeTextBox(this, "txtdire", {2520, 2400, 4335, 285});
    platform::nameAfterLabel(label5, m_txtdire);
    QLabel* label7 = makeLabel(this, "Label7", QStringLiteral("Nota :"), {2520, 3000, 1215, 255});
    m_txtnota =
        placed(new QPlainTextEdit(noSelection() + "\n", this), "txtnota", {2520, 3240, 4335, 525});
    platform::nameAfterLabel(label7, m_txtnota);
    m_txtnota->setReadOnly(true);
    // Two lines fit the box without a scroll bar, as "NO HAY SELECCIÓN" and its line end.
    m_txtnota->document()->setDocumentMargin(2);
    m_txtnota->setTabChangesFocus(true);
    m_cmdabrir = makeButton(this, "cmdabrir", QStringLiteral("Abrir Bases De Datos"),
                            {2520, 3960, 2055, 375});
    m_cmdend = makeButton(this, "cmdend", QStringLiteral("Salir"), {4800, 3960, 2055, 375});
    m_lblaviso = placed(new QLabel(this), "lblaviso", kNoticePlace);
    m_lblaviso->hide();

    // A name chosen by mouse or keyboard.
    connect(m_lstcumple, &QListWidget::itemSelectionChanged, this, &FrmCumple::lstcumpleClick);
    connect(m_cmdabrir, &QPushButton::clicked, this, [this] { m_session.openManager(); });
    connect(m_cmdend, &QPushButton::clicked, this, &QWidget::close);
}

void FrmCumple::setUpTabOrder()
{
    QWidget* const order[] = {m_lstcumple, m_txtcumple, m_txtalias, m_txtfono, m_txtdire,
                              m_txtmail,   m_cmdend,    m_cmdabrir, m_txtnota};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    m_lstcumple->setFocus();
}

void FrmCumple::addName(const std::string& name)
{
    // The list measures every row's text: it shows the start of a long name, and the age update
    // and the details go by the whole one.
    auto* item =
        new QListWidgetItem(platform::shownFileText(name, platform::kShownInRow), m_lstcumple);
    item->setData(kStoredNameRole, QByteArray::fromStdString(name));
}

std::vector<std::string> FrmCumple::listedNames() const
{
    std::vector<std::string> names;
    for (int i = 0; i < m_lstcumple->count(); ++i)
        names.push_back(m_lstcumple->item(i)->data(kStoredNameRole).toByteArray().toStdString());
    return names;
}

void FrmCumple::timer1Timer()
{
    // A window paints before its timer fires, as on the desktop the windows were drawn for: the
    // sound comes with the window and the rewrite never holds the window back. A window the
    // system never exposes (covered, on another desktop) gets its tick a moment later anyway.
    if (!m_painted && m_sinceCreated.elapsed() < kLongestWaitForPaintMs)
        return;
    m_timer1->stop();
    m_sound->play(m_session.programDir() / platform::kSoundFileName);
    const reminder::Date today = m_session.today();
    const QDate date(reminder::yearOf(today), reminder::monthOf(today), reminder::dayOf(today));
    m_lbldate->setText(platform::dayFirstShortDate(date));
    shrinkToFit(m_lbldate);
    // A failed update leaves the contact file as it was and the markers with it, so the next
    // start advances the ages; the user is told, and the window stays.
    contacts::RewriteHooks waitAnswering;
    waitAnswering.whileLocked = platform::answeringWait(platform::kLockPatience);
    const reminder::AgeUpdateResult update =
        reminder::advanceAges(m_session.programDir(), today, listedNames(), waitAnswering);
    if (!update.saved)
        tellUnsavedAges(update);
}

void FrmCumple::tellUnsavedAges(const reminder::AgeUpdateResult& update)
{
    QString text;
    if (update.rewrite.tooLarge)
        text = QStringLiteral("No se guardaron las edades: el archivo de contactos pasa de %1 MB.")
                   .arg(contacts::kMaxContactFileBytes >> 20);
    else if (update.rewrite.lockHeld)
        text = QStringLiteral("El archivo de contactos está ocupado por otro programa; se "
                              "reintentará en el próximo inicio.");
    else
        text = QStringLiteral(
            "No se pudieron guardar las edades; se reintentará en el próximo inicio.");
    m_lblaviso->setText(text);
    m_lblaviso->setToolTip(QString::fromStdString(update.rewrite.error));
    QPalette palette = m_lblaviso->palette();
    palette.setColor(QPalette::WindowText, Qt::darkRed);
    m_lblaviso->setPalette(palette);
    shrinkToFit(m_lblaviso);
    setFixedSize(platform::twipsSize(kClientWidth, kClientHeightWithNotice));
    m_lblaviso->show();
}

void FrmCumple::lstcumpleClick()
{
    const QList<QListWidgetItem*> selected = m_lstcumple->selectedItems();
    if (selected.isEmpty())
        return;
    const std::string name = selected.first()->data(kStoredNameRole).toByteArray().toStdString();
    // A name no line carries any more leaves the boxes as they were.
    if (const auto details = reminder::lookUpContactDetails(m_session.programDir(), name))
        showDetails(*details);
}

void FrmCumple::showDetails(const reminder::ContactDetails& details)
{
    showText(m_txtalias, details.alias);
    showText(m_txtcumple, details.age);
    showText(m_txtfono, details.telefono);
    showText(m_txtdire, details.direccion);
    showText(m_txtmail, details.email);
    m_txtnota->setPlainText(platform::shownFileText(details.nota, platform::kShownInBox));
}

bool FrmCumple::event(QEvent* event)
{
    if (event->type() == QEvent::Paint)
        m_painted = true;
    return QWidget::event(event);
}

void FrmCumple::closeEvent(QCloseEvent* event)
{
    event->accept();
    m_session.cumpleClosed();
}
