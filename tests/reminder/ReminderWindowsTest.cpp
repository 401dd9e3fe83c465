#include "reminder/windows/ReminderWindows.h"

#include "contacts/ContactFile.h"
#include "platform/gui/Geometry.h"
#include "platform/gui/ShownText.h"
#include "reminder/windows/ReminderSession.h"
#include "reminder/windows/TodayWindow.h"
#include "reminder/windows/UpcomingWindow.h"
#include "system/FileLock.h"
#include "tests/support/FileText.h"
#include "tests/support/TempDir.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QtTest>

using namespace reminder;

using namespace std::chrono;

namespace {

const reminder::Date kDec7 = 2026y / December / 7d;

std::string contact(const std::string& name, const std::string& alias, const std::string& age,
                    const std::string& birthday, const std::string& phone = "",
                    const std::string& note = "")
{
    return recordLine({name, alias, age, birthday, phone, "Calle Mayor 1", "x@y.es", note});
}

} // namespace

// The two reminder windows on the real widgets: their design, their closing rules, the details
// of a selected name and the one timer tick with its age update.
class ReminderWindowsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempDir> m_dir;
    std::unique_ptr<ReminderSession> m_session;
    std::unique_ptr<ReminderWindows> m_windows;
    int m_ended = 0;
    int m_managerStarts = 0;

    void start(const reminder::DueBirthdays& due)
    {
        m_session = std::make_unique<ReminderSession>(
            m_dir->path(), kDec7,
            ReminderSession::Actions{[this] { ++m_ended; }, [this] { ++m_managerStarts; }});
        m_windows = std::make_unique<ReminderWindows>(*m_session, due);
        m_windows->show();
    }
    void startBoth() { start({{"Ana"}, {"Bea"}, {}, {}}); }

    template <typename T> T* control(QWidget* window, const char* name)
    {
        auto* found = window->findChild<T*>(name);
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    QString text(QWidget* window, const char* box)
    {
        return control<QLineEdit>(window, box)->text();
    }
    QStringList items(QWidget* window, const char* list)
    {
        QStringList names;
        auto* widget = control<QListWidget>(window, list);
        for (int i = 0; i < widget->count(); ++i)
            names << widget->item(i)->text();
        return names;
    }
    // The controls that take the focus, in the order Tab visits them.
    QStringList tabOrder(QWidget* first)
    {
        QStringList names;
        QWidget* widget = first;
        do {
            if (widget->focusPolicy() & Qt::TabFocus && !widget->objectName().isEmpty() &&
                !widget->objectName().startsWith("qt_"))
                names << widget->objectName();
            widget = widget->nextInFocusChain();
        } while (widget != first);
        return names;
    }
    void expectPlaced(QWidget* window, const char* name, double left, double top, double width,
                      double height)
    {
        QCOMPARE(control<QWidget>(window, name)->geometry(),
                 platform::twipsRect(left, top, width, height));
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<TempDir>();
        m_ended = 0;
        m_managerStarts = 0;
    }
    void cleanup()
    {
        m_windows.reset();
        m_session.reset();
        m_dir.reset();
    }

    void cumpleIsLaidOutAsDrawn()
    {
        start({{"Ana"}, {}, {}, {}});
        TodayWindow* window = m_windows->todayWindow();
        QVERIFY(window && !m_windows->upcomingWindow());
        QCOMPARE(window->objectName(), "FrmCumple");
        QCOMPARE(window->windowTitle(), "¡¡FELIZ CUMPLE!!");
        QCOMPARE(window->size(), platform::twipsSize(7050, 4470));
        QVERIFY(QTest::qWaitForWindowExposed(window));

        const std::pair<const char*, const char*> captions[] = {{"Label1", "CUMPLEAÑOS DE HOY :"},
                                                                {"Label2", "Hoy cumple :"},
                                                                {"Label3", "Alias :"},
                                                                {"Label4", "Teléfono :"},
                                                                {"Label5", "Dirección :"},
                                                                {"Label6", "E-Mail :"},
                                                                {"Label7", "Nota :"}};
        for (const auto& [name, caption] : captions) {
            auto* label = control<QLabel>(window, name);
            QCOMPARE(label->text(), QString::fromUtf8(caption));
            QVERIFY(label->font().bold());
        }
        auto* date = control<QLabel>(window, "lbldate");
        QVERIFY(date->font().bold());
        QVERIFY(date->font().pointSizeF() > control<QLabel>(window, "Label1")->font().pointSizeF());
        for (const char* box : {"txtalias", "txtcumple", "txtfono", "txtmail", "txtdire"})
            QCOMPARE(text(window, box), "NO HAY SELECCIÓN");
        QCOMPARE(control<QPlainTextEdit>(window, "txtnota")->toPlainText(), "NO HAY SELECCIÓN\n");
        QCOMPARE(control<QPushButton>(window, "cmdabrir")->text(), "Abrir Bases De Datos");
        QCOMPARE(control<QPushButton>(window, "cmdend")->text(), "Salir");

        expectPlaced(window, "Label1", 120, 240, 2295, 255);
        expectPlaced(window, "lstcumple", 120, 600, 2175, 3765);
        expectPlaced(window, "lbldate", 3720, 120, 2655, 255);
        expectPlaced(window, "txtcumple", 4800, 720, 2055, 285);
        expectPlaced(window, "txtdire", 2520, 2400, 4335, 285);
        expectPlaced(window, "txtnota", 2520, 3240, 4335, 525);
        expectPlaced(window, "cmdabrir", 2520, 3960, 2055, 375);
        expectPlaced(window, "cmdend", 4800, 3960, 2055, 375);

        QCOMPARE(tabOrder(control<QWidget>(window, "lstcumple")),
                 QStringList({"lstcumple", "txtcumple", "txtalias", "txtfono", "txtdire", "txtmail",
                              "cmdend", "cmdabrir", "txtnota"}));
        QVERIFY(QTest::qWaitForWindowActive(window));
        QCOMPARE(QApplication::focusWidget(), control<QWidget>(window, "lstcumple"));
    }

    void faltanIsLaidOutAsDrawn()
    {
        start({{}, {"Uno"}, {}, {"Tres"}});
        UpcomingWindow* window = m_windows->upcomingWindow();
        QVERIFY(window && !m_windows->todayWindow());
        QVERIFY(m_session->upcomingWindowOpen());
        QCOMPARE(window->objectName(), "FrmFaltan");
        QCOMPARE(window->windowTitle(), "¡¡FALTAN POCOS DÍAS!!");
        QCOMPARE(window->size(), platform::twipsSize(6255, 3345));
        QVERIFY(QTest::qWaitForWindowExposed(window));

        const std::pair<const char*, const char*> headings[] = {
            {"Label1", "Faltan 3 días para el cumpleaños de :"},
            {"Label2", "Faltan 2 días para el cumpleaños de :"},
            {"Label3", "Falta 1 día para el cumpleaños de :"}};
        for (const auto& [name, caption] : headings) {
            auto* label = control<QLabel>(window, name);
            QCOMPARE(label->text(), QString::fromUtf8(caption));
            QVERIFY(label->font().bold());
            QVERIFY(label->wordWrap());
            // Two lines, both within the label: nothing clipped.
            const QFontMetrics metrics(label->font());
            const QRect needed = metrics.boundingRect(
                QRect(0, 0, label->contentsRect().width(), 1000), Qt::TextWordWrap, label->text());
            QVERIFY2(needed.height() <= label->contentsRect().height(), name);
            QVERIFY2(needed.height() > metrics.height(), name);
        }
        expectPlaced(window, "Label1", 120, 120, 1695, 495);
        expectPlaced(window, "lst3d", 120, 720, 1695, 2010);
        expectPlaced(window, "lst2d", 2280, 720, 1695, 2010);
        expectPlaced(window, "lst1d", 4440, 720, 1695, 2010);
        expectPlaced(window, "cmdabrir", 120, 2880, 2775, 375);
        expectPlaced(window, "cmdend", 3360, 2880, 2775, 375);
        QCOMPARE(control<QPushButton>(window, "cmdabrir")->text(), "Abrir Base De Datos");

        QCOMPARE(items(window, "lst3d"), QStringList{"Tres"});
        QCOMPARE(items(window, "lst2d"), QStringList{});
        QCOMPARE(items(window, "lst1d"), QStringList{"Uno"});
        QCOMPARE(tabOrder(control<QWidget>(window, "lst3d")),
                 QStringList({"lst3d", "lst2d", "lst1d", "cmdend", "cmdabrir"}));
        QVERIFY(QTest::qWaitForWindowActive(window));
        QCOMPARE(QApplication::focusWidget(), control<QWidget>(window, "lst3d"));
    }

    void listsKeepTheScansOrderAndShowStoredText()
    {
        start({{cp1252("Begoña"), "Ana", "Ana"}, {}, {"Zoe", "Bruno"}, {}});
        QCOMPARE(items(m_windows->todayWindow(), "lstcumple"),
                 QStringList({"Begoña", "Ana", "Ana"}));
        QCOMPARE(items(m_windows->upcomingWindow(), "lst2d"), QStringList({"Zoe", "Bruno"}));
        QCOMPARE(m_windows->todayWindow()->listedNames(),
                 (std::vector<std::string>{cp1252("Begoña"), "Ana", "Ana"}));
    }

    void closingRules_data()
    {
        QTest::addColumn<bool>("cumple");
        QTest::addColumn<bool>("faltan");
        QTest::addColumn<QString>("first");
        QTest::addColumn<bool>("byButton");

        QTest::newRow("only cumple, Salir") << true << false << "FrmCumple" << true;
        QTest::newRow("only cumple, close box") << true << false << "FrmCumple" << false;
        QTest::newRow("only faltan, Salir") << false << true << "FrmFaltan" << true;
        QTest::newRow("only faltan, close box") << false << true << "FrmFaltan" << false;
        QTest::newRow("both, cumple first by Salir") << true << true << "FrmCumple" << true;
        QTest::newRow("both, faltan first by close box") << true << true << "FrmFaltan" << false;
        QTest::newRow("both, faltan first by Salir") << true << true << "FrmFaltan" << true;
    }

    void closingRules()
    {
        QFETCH(bool, cumple);
        QFETCH(bool, faltan);
        QFETCH(QString, first);
        QFETCH(bool, byButton);
        reminder::DueBirthdays due;
        if (cumple)
            due.today = {"Ana"};
        if (faltan)
            due.inOneDay = {"Bea"};
        start(due);
        QCOMPARE(m_session->todayWindowOpen(), cumple);
        QCOMPARE(m_session->upcomingWindowOpen(), faltan);

        QWidget* firstWindow = first == "FrmCumple"
                                   ? static_cast<QWidget*>(m_windows->todayWindow())
                                   : m_windows->upcomingWindow();
        QWidget* other = first == "FrmCumple" ? static_cast<QWidget*>(m_windows->upcomingWindow())
                                              : m_windows->todayWindow();
        const auto closeWindow = [&](QWidget* window) {
            if (byButton)
                QTest::mouseClick(control<QPushButton>(window, "cmdend"), Qt::LeftButton);
            else
                window->close();
        };
        closeWindow(firstWindow);
        QVERIFY(!firstWindow->isVisible());
        if (other) {
            // The other window stays and the program goes on, until that one closes too.
            QCOMPARE(m_ended, 0);
            QVERIFY(other->isVisible());
            closeWindow(other);
        }
        QCOMPARE(m_ended, 1);
        QVERIFY(!m_session->todayWindowOpen());
        QVERIFY(!m_session->upcomingWindowOpen());
        QCOMPARE(m_managerStarts, 0);
    }

    void openingTheManagerEndsAtOnce_data()
    {
        QTest::addColumn<QString>("window");
        QTest::newRow("FrmCumple") << "FrmCumple";
        QTest::newRow("FrmFaltan") << "FrmFaltan";
    }

    void openingTheManagerEndsAtOnce()
    {
        QFETCH(QString, window);
        startBoth();
        QWidget* pressed = window == "FrmCumple" ? static_cast<QWidget*>(m_windows->todayWindow())
                                                 : m_windows->upcomingWindow();
        QTest::mouseClick(control<QPushButton>(pressed, "cmdabrir"), Qt::LeftButton);
        QCOMPARE(m_managerStarts, 1);
        QCOMPARE(m_ended, 1);
        // Ending is not closing: no window ran its closing rule.
        QVERIFY(m_session->todayWindowOpen());
        QVERIFY(m_session->upcomingWindowOpen());
    }

    void selectingANameShowsItsDetails()
    {
        writeBytes(*m_dir / "data.tvl",
                   fileOf({contact("Ana", "Anita", "30", "7/12", "111", "vieja"),
                           contact("Bea", "Bei", "40 años", "7/12", "333", "prima"),
                           contact("Ana", "Nani", "31", "7/12", "222", "nueva")}));
        start({{"Ana", "Bea", "Nadie"}, {}, {}, {}});
        TodayWindow* window = m_windows->todayWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        // As in the program, the tick's age update comes before any selection.
        QTRY_VERIFY(!window->findChild<QTimer*>("Timer1")->isActive());
        auto* list = control<QListWidget>(window, "lstcumple");

        // By mouse: the last line carrying the name fills the boxes.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(0)).center());
        QCOMPARE(text(window, "txtalias"), "Nani");
        QCOMPARE(text(window, "txtfono"), "222");
        QCOMPARE(text(window, "txtdire"), "Calle Mayor 1");
        QCOMPARE(text(window, "txtmail"), "x@y.es");
        QCOMPARE(control<QPlainTextEdit>(window, "txtnota")->toPlainText(), "nueva");

        // By keyboard: the age shows as its leading number.
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentRow(), 1);
        QCOMPARE(text(window, "txtalias"), "Bei");
        QCOMPARE(text(window, "txtcumple"), "41");

        // A name no line carries leaves the boxes as they were.
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentRow(), 2);
        QCOMPARE(text(window, "txtalias"), "Bei");
    }

    // The lists and boxes show the start of a long value; the age update and the details go by
    // the whole name.
    void aLongNameIsShownInPartAndStillFindsItsContact()
    {
        const std::string name = "Ana " + longText(5'000);
        const std::string note = longText(30'000);
        writeBytes(*m_dir / "data.tvl", fileOf({contact(name, "", "30", "07/12", "", note)}));
        const std::string stored = cp1252(name);
        start({{stored}, {}, {stored}, {}});
        TodayWindow* window = m_windows->todayWindow();
        const QString shown = QString::fromUtf8(name).left(platform::kShownInRow) + QChar(u'…');
        QCOMPARE(items(window, "lstcumple"), QStringList{shown});
        QCOMPARE(items(m_windows->upcomingWindow(), "lst2d"), QStringList{shown});
        QCOMPARE(window->listedNames(), std::vector<std::string>{stored});

        QTRY_COMPARE(readBytes(*m_dir / "data.tvl"),
                     fileOf({contact(name, "", "31", "7/12", "", note)}));
        control<QListWidget>(window, "lstcumple")->setCurrentRow(0);
        QCOMPARE(text(window, "txtcumple"), "31");
        QCOMPARE(control<QPlainTextEdit>(window, "txtnota")->document()->toRawText(),
                 QString::fromUtf8(note).left(platform::kShownInBox) + QChar(u'…'));
    }

    void theTickShowsTheDateAndAdvancesEachAgeOnce()
    {
        const std::string before =
            fileOf({contact("Ana", "Anita", "30", "07/12"), contact("Bea", "", "5", "05/03"),
                    contact("Ciro", "", "30 años", "07/12")});
        writeBytes(*m_dir / "data.tvl", before);
        start({{"Ana", "Ciro"}, {}, {}, {}});
        // No sound file in this program directory: no failure, nothing shown.
        const std::string after =
            fileOf({contact("Ana", "Anita", "31", "7/12"), contact("Bea", "", "5", "5/3"),
                    contact("Ciro", "", "31", "7/12")});
        QTRY_COMPARE(readBytes(*m_dir / "data.tvl"), after);
        QCOMPARE(control<QLabel>(m_windows->todayWindow(), "lbldate")->text(),
                 QLocale::system().toString(QDate(2026, 12, 7), QLocale::ShortFormat));
        QVERIFY(std::filesystem::exists(*m_dir / "07122026§Ana§Anita"));
        QVERIFY(std::filesystem::exists(*m_dir / "07122026§Ciro§"));
        auto* timer = m_windows->todayWindow()->findChild<QTimer*>("Timer1");
        QVERIFY(timer && !timer->isActive());
        QVERIFY(control<QLabel>(m_windows->todayWindow(), "lblaviso")->isHidden());
        QCOMPARE(m_windows->todayWindow()->size(), platform::twipsSize(7050, 4470));

        // Selecting shows the age reached today.
        auto* list = control<QListWidget>(m_windows->todayWindow(), "lstcumple");
        list->setCurrentRow(0);
        QCOMPARE(text(m_windows->todayWindow(), "txtcumple"), "31");

        // A second run on the same day leaves every age alone.
        m_windows.reset();
        start({{"Ana", "Ciro"}, {}, {}, {}});
        QTest::qWait(50);
        QVERIFY(!m_windows->todayWindow()->findChild<QTimer*>("Timer1")->isActive());
        QCOMPARE(readBytes(*m_dir / "data.tvl"), after);
    }

    void unsavedAgesAreToldInOneLine_data()
    {
        QTest::addColumn<QString>("problem");
        QTest::addColumn<QString>("notice");
        QTest::newRow("no temporary file")
            << "temp"
            << "No se pudieron guardar las edades; se reintentará en el próximo inicio.";
        QTest::newRow("file over the limit")
            << "large"
            << "No se guardaron las edades: el archivo de contactos pasa de 64 MB.";
        QTest::newRow("lock held by another program")
            << "lock"
            << "El archivo de contactos está ocupado por otro programa; se reintentará en el "
               "próximo inicio.";
    }

    void unsavedAgesAreToldInOneLine()
    {
        QFETCH(QString, problem);
        QFETCH(QString, notice);
        const std::filesystem::path file = *m_dir / "data.tvl";
        writeBytes(file, fileOf({contact("Ana", "", "30", "07/12")}));
        std::optional<sys::FileLock> held;
        if (problem == "large")
            std::filesystem::resize_file(file, contacts::kMaxContactFileBytes + 1);
        else if (problem == "lock")
            held = sys::FileLock::acquireFor(m_dir->path(), contacts::kRewriteLockName,
                                             sys::FileLock::Mode::TryOnce)
                       .lock;
        else // a folder where the temporary file should go fails the rewrite, also for root
            std::filesystem::create_directories(*m_dir / "data2.tvl" / "dentro");
        const std::string before = readBytes(file);
        start({{"Ana"}, {}, {}, {}});
        TodayWindow* window = m_windows->todayWindow();
        auto* label = control<QLabel>(window, "lblaviso");
        // While its tick waits for the lock, the window goes on handling its events.
        bool handledWhileWaiting = false;
        QTimer::singleShot(300, window, [&] {
            handledWhileWaiting =
                !window->findChild<QTimer*>("Timer1")->isActive() && label->isHidden();
        });
        QTRY_VERIFY_WITH_TIMEOUT(!window->findChild<QTimer*>("Timer1")->isActive(), 20000);
        QVERIFY(label->isVisible());
        QCOMPARE(label->text(), notice);
        QCOMPARE(handledWhileWaiting, problem == "lock");
        held.reset();
        // One line, whole, below the buttons, in a window grown to hold it.
        QVERIFY(QFontMetrics(label->font()).horizontalAdvance(label->text()) <=
                label->contentsRect().width());
        QVERIFY(label->geometry().top() >= control<QWidget>(window, "cmdend")->geometry().bottom());
        QVERIFY(window->rect().contains(label->geometry()));
        QVERIFY(readBytes(file) == before);
        QVERIFY(!std::filesystem::exists(*m_dir / "07122026§Ana§"));
        QCOMPARE(m_ended, 0);

        // The next start that day, with the problem gone, stores the age and says nothing.
        m_windows.reset();
        std::filesystem::remove_all(*m_dir / "data2.tvl");
        writeBytes(file, fileOf({contact("Ana", "", "30", "07/12")}));
        start({{"Ana"}, {}, {}, {}});
        QTRY_COMPARE(readBytes(file), fileOf({contact("Ana", "", "31", "7/12")}));
        QVERIFY(control<QLabel>(m_windows->todayWindow(), "lblaviso")->isHidden());
    }

    void aWindowNeverPaintedStillGetsItsTick()
    {
        writeBytes(*m_dir / "data.tvl", fileOf({contact("Ana", "", "1", "7/12")}));
        ReminderSession session(m_dir->path(), kDec7, {[] {}, [] {}});
        TodayWindow hidden(session);
        hidden.addName("Ana");
        QTRY_COMPARE(readBytes(*m_dir / "data.tvl"), fileOf({contact("Ana", "", "2", "7/12")}));
    }

    void theTickPlaysABrokenSoundWithoutFailing()
    {
        writeBytes(*m_dir / "Cumple.WAV", "RIFF not really a sound");
        writeBytes(*m_dir / "data.tvl", fileOf({contact("Ana", "", "1", "7/12")}));
        start({{"Ana"}, {}, {}, {}});
        QTRY_COMPARE(readBytes(*m_dir / "data.tvl"), fileOf({contact("Ana", "", "2", "7/12")}));
        QVERIFY(m_windows->todayWindow()->isVisible());
        QCOMPARE(m_ended, 0);
    }
};

QTEST_MAIN(ReminderWindowsTest)
#include "ReminderWindowsTest.moc"
