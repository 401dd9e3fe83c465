#include "reminder/windows/TodayWindow.h"

#include "contacts/ContactFile.h"
#include "platform/Programs.h"
#include "platform/gui/Accessibility.h"
#include "platform/gui/AnsweringWait.h"
#include "platform/gui/DayFirstDate.h"
#include "platform/gui/ShownText.h"
#include "reminder/core/AgeUpdate.h"
#include "reminder/core/ContactDetails.h"
#include "reminder/windows/BirthdaySound.h"
#include "reminder/windows/MissedWindow.h"
#include "reminder/windows/ObjectNames.h"
#include "reminder/windows/ReminderSession.h"
#include "reminder/windows/WindowControls.h"

#include <QCloseEvent>
#include <QDate>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>

namespace reminder {

namespace {

constexpr double kClientWidth = 7050;
constexpr double kClientHeight = 4470;
constexpr double kDatePointSize = 12;
// The lines that tell of birthdays caught up and of unsaved ages, below the buttons; the window
// grows by them when shown.
constexpr Twips kNoticePlace = {120, 4440, 6810, 255};
constexpr double kClientHeightWithNotice = 4815;
constexpr double kBelowNotices = kClientHeightWithNotice - kNoticePlace.top - kNoticePlace.height;
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

TodayWindow::TodayWindow(ReminderSession& session, QWidget* parent)
    : QWidget(parent), m_session(session), m_sound(new BirthdaySound(this))
{
    setUpWindow(this, objectName::todayWindow, QStringLiteral("¡¡FELIZ CUMPLE!!"), kClientWidth,
                kClientHeight);
    buildControls();
    setUpTabOrder();
    closeOnEscape(this);

    // Runs from the window's creation; it first fires once the start-up has returned to the
    // event loop, and only that once.
    m_startTick = new QTimer(this);
    m_startTick->setObjectName(objectName::startTick);
    m_startTick->setInterval(kTimerIntervalMs);
    connect(m_startTick, &QTimer::timeout, this, &TodayWindow::runStartTick);
    m_sinceCreated.start();
    m_startTick->start();
}

TodayWindow::~TodayWindow() = default;

void TodayWindow::buildControls()
{
    QLabel* label1 = makeLabel(this, objectName::todayHeading,
                               QStringLiteral("CUMPLEAÑOS DE HOY :"), {120, 240, 2295, 255});
    m_names = makeList(this, objectName::todayNames, {120, 600, 2175, 3765});
    platform::nameAfterLabel(label1, m_names);
    m_dateLabel = makeLabel(this, objectName::todayDate, QString(), {3720, 120, 2655, 255});
    m_dateLabel->setFont(platform::boldUiFont(kDatePointSize));
    QLabel* label3 = makeLabel(this, objectName::aliasCaption, QStringLiteral("Alias :"),
                               {2520, 480, 1335, 255});
    m_aliasBox = makeTextBox(this, objectName::aliasBox, {2520, 720, 2055, 285});
    platform::nameAfterLabel(label3, m_aliasBox);
    QLabel* label2 = makeLabel(this, objectName::ageCaption, QStringLiteral("Hoy cumple :"),
                               {4800, 480, 1935, 255});
    m_ageBox = makeTextBox(this, objectName::ageBox, {4800, 720, 2055, 285});
    platform::nameAfterLabel(label2, m_ageBox);
    QLabel* label4 = makeLabel(this, objectName::phoneCaption, QStringLiteral("Teléfono :"),
                               {2520, 1320, 1215, 255});
    m_phoneBox = makeTextBox(this, objectName::phoneBox, {2520, 1560, 2055, 285});
    platform::nameAfterLabel(label4, m_phoneBox);
    QLabel* label6 = makeLabel(this, objectName::emailCaption, QStringLiteral("E-Mail :"),
                               {4800, 1320, 1215, 255});
    m_emailBox = makeTextBox(this, objectName::emailBox, {4800, 1560, 2055, 285});
    platform::nameAfterLabel(label6, m_emailBox);
    QLabel* label5 = makeLabel(this, objectName::addressCaption, QStringLiteral("Dirección :"),
                               {2520, 2160, 1215, 255});
    m_addressBox = makeTextBox(this, objectName::addressBox, {2520, 2400, 4335, 285});
    platform::nameAfterLabel(label5, m_addressBox);
    QLabel* label7 =
        makeLabel(this, objectName::noteCaption, QStringLiteral("Nota :"), {2520, 3000, 1215, 255});
    m_noteBox = placed(new QPlainTextEdit(noSelection() + "\n", this), objectName::noteBox,
                       {2520, 3240, 4335, 525});
    platform::nameAfterLabel(label7, m_noteBox);
    m_noteBox->setReadOnly(true);
    // Two lines fit the box without a scroll bar, as "NO HAY SELECCIÓN" and its line end.
    m_noteBox->document()->setDocumentMargin(2);
    m_noteBox->setTabChangesFocus(true);
    m_openManagerButton =
        makeButton(this, objectName::openManagerButton, QStringLiteral("Abrir Bases De Datos"),
                   {2520, 3960, 2055, 375});
    m_quitButton =
        makeButton(this, objectName::quitButton, QStringLiteral("Salir"), {4800, 3960, 2055, 375});
    m_unsavedNotice = placed(new QLabel(this), objectName::unsavedNotice, kNoticePlace);
    m_unsavedNotice->hide();
    m_missedNotice = placed(new QLabel(this), objectName::missedNotice, kNoticePlace);
    m_missedNotice->setWordWrap(true);
    m_missedNotice->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_missedNotice->hide();

    // A name chosen by mouse or keyboard.
    connect(m_names, &QListWidget::itemSelectionChanged, this, &TodayWindow::showSelectedContact);
    connect(m_openManagerButton, &QPushButton::clicked, this, [this] { m_session.openManager(); });
    connect(m_quitButton, &QPushButton::clicked, this, &QWidget::close);
}

void TodayWindow::setUpTabOrder()
{
    QWidget* const order[] = {m_names,      m_ageBox,   m_aliasBox,   m_phoneBox,
                              m_addressBox, m_emailBox, m_quitButton, m_openManagerButton,
                              m_noteBox};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    m_names->setFocus();
}

void TodayWindow::addName(const std::string& name)
{
    // The list measures every row's text: it shows the start of a long name, and the age update
    // and the details go by the whole one.
    auto* item = new QListWidgetItem(platform::shownFileText(name, platform::kShownInRow), m_names);
    item->setData(kStoredNameRole, QByteArray::fromStdString(name));
}

std::vector<std::string> TodayWindow::listedNames() const
{
    std::vector<std::string> names;
    for (int i = 0; i < m_names->count(); ++i)
        names.push_back(m_names->item(i)->data(kStoredNameRole).toByteArray().toStdString());
    return names;
}

void TodayWindow::runStartTick()
{
    // A window paints before its timer fires, as on the desktop the windows were drawn for: the
    // sound comes with the window and the rewrite never holds the window back. A window the
    // system never exposes (covered, on another desktop) gets its tick a moment later anyway.
    if (!m_painted && m_sinceCreated.elapsed() < kLongestWaitForPaintMs)
        return;
    m_startTick->stop();
    m_sound->play(m_session.programDir() / platform::kSoundFileName);
    const reminder::Date today = m_session.today();
    const QDate date(reminder::yearOf(today), reminder::monthOf(today), reminder::dayOf(today));
    m_dateLabel->setText(platform::dayFirstShortDate(date));
    shrinkToFit(m_dateLabel);
    // A failed update leaves the contact file as it was and the markers with it, so the next
    // start advances the ages; the user is told, and the window stays.
    contacts::RewriteHooks waitAnswering;
    waitAnswering.whileLocked = platform::answeringWait(platform::kLockPatience);
    const reminder::AgeUpdateResult update = reminder::bringAgesUpToDate(
        m_session.programDir(), today, m_session.ageDays(), listedNames(), waitAnswering);
    if (!update.caughtUp.empty())
        tellMissedBirthdays(update.caughtUp);
    if (!update.saved)
        tellUnsavedAges(update);
}

void TodayWindow::tellMissedBirthdays(const std::vector<reminder::CaughtUpBirthday>& birthdays)
{
    m_missedNotice->setText(missedBirthdaysLine(birthdays));
    QStringList all;
    for (const auto& birthday : birthdays)
        all << missedBirthdayText(birthday);
    m_missedNotice->setToolTip(all.join(u'\n'));
    m_missedNotice->setVisible(true);
    placeNotices();
}

void TodayWindow::placeNotices()
{
    const QRect place = platform::twipsRect(kNoticePlace.left, kNoticePlace.top, kNoticePlace.width,
                                            kNoticePlace.height);
    if (m_missedNotice->isHidden()) {
        // The unsaved ages' line alone: the window as it always grew for it.
        m_unsavedNotice->setGeometry(place);
        setFixedSize(platform::twipsSize(
            kClientWidth, m_unsavedNotice->isHidden() ? kClientHeight : kClientHeightWithNotice));
        return;
    }
    int top = place.top();
    for (QLabel* notice : {m_missedNotice, m_unsavedNotice}) {
        if (notice->isHidden())
            continue;
        const int height = notice->wordWrap()
                               ? std::max(place.height(), notice->heightForWidth(place.width()))
                               : place.height();
        notice->setGeometry(place.left(), top, place.width(), height);
        top += height;
    }
    const int below = platform::twipsSize(0, kBelowNotices).height();
    setFixedSize(platform::twipsSize(kClientWidth, kClientHeight).width(), top + below);
}

void TodayWindow::tellUnsavedAges(const reminder::AgeUpdateResult& update)
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
    m_unsavedNotice->setText(text);
    m_unsavedNotice->setToolTip(QString::fromStdString(update.rewrite.error));
    QPalette palette = m_unsavedNotice->palette();
    palette.setColor(QPalette::WindowText, Qt::darkRed);
    m_unsavedNotice->setPalette(palette);
    shrinkToFit(m_unsavedNotice);
    m_unsavedNotice->setVisible(true);
    placeNotices();
}

void TodayWindow::showSelectedContact()
{
    const QList<QListWidgetItem*> selected = m_names->selectedItems();
    if (selected.isEmpty())
        return;
    const std::string name = selected.first()->data(kStoredNameRole).toByteArray().toStdString();
    // A name no line carries any more leaves the boxes as they were.
    if (const auto details = reminder::lookUpContactDetails(m_session.programDir(), name))
        showDetails(*details);
}

void TodayWindow::showDetails(const reminder::ContactDetails& details)
{
    showText(m_aliasBox, details.alias);
    showText(m_ageBox, details.age);
    showText(m_phoneBox, details.phone);
    showText(m_addressBox, details.address);
    showText(m_emailBox, details.email);
    m_noteBox->setPlainText(platform::shownFileText(details.note, platform::kShownInBox));
}

bool TodayWindow::event(QEvent* event)
{
    if (event->type() == QEvent::Paint)
        m_painted = true;
    return QWidget::event(event);
}

void TodayWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    m_session.todayWindowClosed();
}

} // namespace reminder
