#include "manager/ContactListModel.h"
#include "manager/MainWindow.h"
#include "platform/gui/MessageBox.h"
#include "platform/gui/QtText.h"
#include "tests/support/FileText.h"
#include "tests/support/TempDir.h"

#include <QAction>
#include <QDate>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProcess>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QTreeView>
#include <QtTest>
#include <sys/stat.h>

using namespace manager;

// The manager's start-up on a contact file: the list, the count, the note and the commands.
class MainWindowStartupTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempDir> m_dir;
    std::unique_ptr<MainWindow> m_window;
    QList<platform::MessageRequest> m_messages;

    MainWindow& start(const std::string* content)
    {
        if (content)
            writeBytes(*m_dir / "data.tvl", *content);
        m_window = std::make_unique<MainWindow>(
            MainWindow::Environment{m_dir->path(), m_dir->path() / "autostart"});
        m_window->startUp();
        return *m_window;
    }
    MainWindow& start(const std::string& content) { return start(&content); }

    QStringList names() const
    {
        QStringList names;
        for (int i = 0; i < m_window->contactList()->rowCount(); ++i)
            names << m_window->contactList()->cell(i, 0);
        return names;
    }
    QString text(const char* label) const { return m_window->findChild<QLabel*>(label)->text(); }
    bool commandsEnabled() const
    {
        const bool del = m_window->findChild<QAction*>("mnudel")->isEnabled();
        const bool modi = m_window->findChild<QAction*>("mnumodi")->isEnabled();
        return del && modi;
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<TempDir>();
        m_messages.clear();
        platform::setMessageAnswerHook([this](const platform::MessageRequest& request) {
            m_messages << request;
            return QMessageBox::Ok;
        });
    }
    void cleanup()
    {
        m_window.reset();
        m_dir.reset();
        platform::setMessageAnswerHook({});
    }

    void showsTheContactsSortedWithTheCountAndTheFirstLinesNote()
    {
        MainWindow& window = start(
            fileOf({recordLine({"Carla", "Carli", "40", "07/12", "", "", "", "nota de Carla"}),
                    recordLine({"Ana", "", "30", "5/3", "555", "Calle 1", "a@b", "de Ana"}),
                    recordLine({"Bruno", "", "", "01/01", "", "", "", ""})}));
        QCOMPARE(names(), (QStringList{"Ana", "Bruno", "Carla"}));
        QCOMPARE(text("lblcantcum"), QStringLiteral("Cantidad De Contactos : 3"));
        QCOMPARE(text("lblcant"), QStringLiteral("3"));
        QVERIFY(!window.findChild<QLabel*>("lblcant")->isVisibleTo(&window));
        // The file's first contact is selected: its note is the one shown, and the commands act
        // on a row the user sees.
        QCOMPARE(window.note(), QStringLiteral("nota de Carla"));
        QCOMPARE(window.selectedRow(), std::optional<int>(2));
        QVERIFY(commandsEnabled());
        // Stored values show as they are: nothing is computed or reformatted.
        const ContactListModel& list = *window.contactList();
        QCOMPARE(list.cell(0, 3), QStringLiteral("5/3"));
        QCOMPARE(list.cell(0, 4), QStringLiteral("555"));
        QCOMPARE(list.cell(0, 6), QStringLiteral("a@b"));
        QCOMPARE(list.cell(1, 2), QString());
    }

    void sortsAsASpanishReaderExpects()
    {
        start(fileOf({recordLine({"Óscar", "", "", "1/1", "", "", "", ""}),
                      recordLine({"bruno", "", "", "1/1", "", "", "", ""}),
                      recordLine({"Ángel", "", "", "1/1", "", "", "", ""}),
                      recordLine({"Zoe", "", "", "1/1", "", "", "", ""}),
                      recordLine({"Ana", "", "", "1/1", "", "", "", ""}),
                      recordLine({"Nuria", "", "", "1/1", "", "", "", ""}),
                      recordLine({"Ñoño", "", "", "1/1", "", "", "", ""})}));
        QCOMPARE(names(), (QStringList{"Ana", "Ángel", "bruno", "Nuria", "Ñoño", "Óscar", "Zoe"}));
    }

    void createsAMissingContactFileEmpty()
    {
        start(nullptr);
        const auto file = m_dir->path() / "data.tvl";
        QVERIFY(std::filesystem::exists(file));
        QCOMPARE(std::filesystem::file_size(file), std::uintmax_t{0});
        QVERIFY(names().isEmpty());
        QCOMPARE(text("lblcantcum"), QStringLiteral("Cantidad De Contactos : 0"));
        QVERIFY(!commandsEnabled());
        QVERIFY(m_messages.isEmpty());
    }

    void anEmptyFileLeavesTheContactCommandsOff()
    {
        start(std::string());
        QVERIFY(names().isEmpty());
        QCOMPARE(text("lblcantcum"), QStringLiteral("Cantidad De Contactos : 0"));
        QCOMPARE(text("lblcant"), QStringLiteral("0"));
        QVERIFY(!commandsEnabled());
        QVERIFY(m_window->findChild<QAction*>("mnuadd")->isEnabled());
    }

    // A line that holds no contact hides none of the others: every readable line is listed and
    // the user is told, without a message box, which lines were left out.
    void aLineThatHoldsNoContactIsLeftOutAndReported()
    {
        start(fileOf({recordLine({"Carla", "", "", "1/1", "", "", "", "primera"}),
                      recordLine({"Ana", "", "", "1/1", "", "", "", ""}), cp1252("Roto§sin§todo§"),
                      recordLine({"Bruno", "", "", "1/1", "", "", "", ""}), ""}));
        QCOMPARE(names(), (QStringList{"Ana", "Bruno", "Carla"}));
        QCOMPARE(text("lblcantcum"), QStringLiteral("Cantidad De Contactos : 3"));
        QCOMPARE(m_window->note(), QStringLiteral("primera"));
        QVERIFY(m_messages.isEmpty());
        auto* notice = m_window->findChild<QLabel*>("lblilegibles");
        QVERIFY(notice && notice->isVisibleTo(m_window.get()));
        QCOMPARE(notice->text(), QStringLiteral("2 líneas de data.tvl no son contactos legibles "
                                                "(líneas 3 y 5): no se muestran y se conservan "
                                                "tal como están."));
    }

    void aLineWithoutItsEighthTerminatorIsListed()
    {
        start(fileOf(
            {cp1252("Ana§§30§05/03§§§§"), recordLine({"Bruno", "", "", "1/1", "", "", "", ""})}));
        QCOMPARE(names(), (QStringList{"Ana", "Bruno"}));
        QVERIFY(commandsEnabled());
        QVERIFY(!m_window->findChild<QLabel*>("lblilegibles"));
    }

    void anUnreadableContactFileIsReportedAndNeverTreatedAsEmpty()
    {
        std::filesystem::create_directory(m_dir->path() / "data.tvl");
        start(nullptr);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].icon, QMessageBox::Warning);
        QVERIFY(m_messages[0].text.contains("data.tvl"));
        QVERIFY(std::filesystem::is_directory(m_dir->path() / "data.tvl"));
        QVERIFY(!commandsEnabled());
    }

    void keepsEveryByteOfTheFileInTheList()
    {
        start(fileOf({std::string("Z\x81\x9D\xA7\x80\xA7\xA7\xA7\xA7\xA7\xA7\xA7")}));
        QCOMPARE(platform::toFileText(m_window->contactList()->cell(0, 0)),
                 std::string("Z\x81\x9D"));
        QCOMPARE(m_window->contactList()->cell(0, 1), QStringLiteral("€"));
    }

    // Once the window is up, or a moment later when it is not shown.
    void registersTheReminderAtLogon()
    {
        start(std::string());
        const auto file = m_dir->path() / "autostart/Tortavela.desktop";
        QTRY_VERIFY(std::filesystem::exists(file));
        const std::string entry = readBytes(file);
        QVERIFY(entry.find("Exec=\"" + (m_dir->path() / "Avisela").string() + "\"") !=
                std::string::npos);
    }

    void loadsTheContactsWhenTheRegistrationFails()
    {
        writeBytes(m_dir->path() / "autostart", "a file where the folder should be");
        start(fileOf({recordLine({"Ana", "", "", "1/1", "", "", "", ""})}));
        QCOMPARE(names(), QStringList{"Ana"});
        QVERIFY(commandsEnabled());
    }

    void showsTodaysDateAndTheDesignedLayout()
    {
        MainWindow& window = start(std::string());
        QCOMPARE(window.windowTitle(), QStringLiteral("Tortavela"));
        QCOMPARE(text("lbldate"),
                 "Fecha De Hoy : " +
                     QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
        QCOMPARE(window.centralWidget()->size(), QSize(722, 386));
        QCOMPARE(window.findChild<QTreeView*>("LW1")->geometry(), QRect(8, 32, 705, 281));
        QCOMPARE(window.findChild<QPlainTextEdit*>("txtdesc")->geometry(), QRect(8, 336, 705, 41));
        QVERIFY(window.findChild<QLabel*>("lbldate")->font().bold());
        QCOMPARE(window.findChild<QLabel*>("lblcantcum")->alignment() & Qt::AlignRight,
                 Qt::AlignRight);
        const QStringList captions = {"Nombre",   "Alias",     "Edad Actual", "Fecha Del Cumple",
                                      "Teléfono", "Dirección", "E-Mail"};
        for (int column = 0; column < captions.size(); ++column)
            QCOMPARE(window.contactList()->headerData(column, Qt::Horizontal, Qt::DisplayRole),
                     QVariant(captions[column]));
    }

    // The list and the note box take what the window grows; the labels stay by the controls
    // they belong to, the last column takes the list's growth, the others keep their widths, and
    // the window never gets smaller than designed.
    void theListAndTheNoteGrowWithTheWindow()
    {
        MainWindow& window = start(fileOf({recordLine({"Ana", "", "", "1/1", "", "", "", ""})}));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const auto place = [&](const char* name) {
            return window.findChild<QWidget*>(name)->geometry();
        };
        const QTreeView* list = window.findChild<QTreeView*>("LW1");
        const QRect designedList = place("LW1");
        const QRect designedNote = place("txtdesc");
        const QRect designedDate = place("lbldate");
        const QRect designedCount = place("lblcantcum");
        const QRect designedCaption = place("Label1");
        const QSize designedClient = window.centralWidget()->size();
        QList<int> columns;
        for (int i = 0; i < 7; ++i)
            columns << list->columnWidth(i);

        window.resize(window.size() + QSize(200, 120));
        QTRY_COMPARE(place("LW1"), designedList.adjusted(0, 0, 200, 120));
        QCOMPARE(place("txtdesc"), designedNote.adjusted(0, 120, 200, 120));
        QCOMPARE(place("lbldate"), designedDate);
        QCOMPARE(place("lblcantcum"), designedCount.translated(200, 0));
        QCOMPARE(place("Label1"), designedCaption.translated(0, 120));
        for (int i = 0; i < 6; ++i)
            QCOMPARE(list->columnWidth(i), columns[i]);
        QCOMPARE(list->columnWidth(6), columns[6] + 200);

        window.resize(300, 200);
        QTRY_COMPARE(window.centralWidget()->size(), designedClient);
        QCOMPARE(place("LW1"), designedList);
        QCOMPARE(place("txtdesc"), designedNote);
        QCOMPARE(list->columnWidth(6), columns[6]);
    }

    void columnWidthsFollowTheDesign()
    {
        const auto widths = MainWindow::columnWidthsTwips(10830);
        const double expected[] = {1505.72, 1499.14, 1499.14, 1499.14, 1503.14, 1505.72, 1503.14};
        for (int i = 0; i < 7; ++i)
            QVERIFY2(std::abs(widths[i] - expected[i]) < 0.005, qPrintable(QString::number(i)));
        start(std::string());
        const QTreeView* list = m_window->findChild<QTreeView*>("LW1");
        for (int i = 0; i < 7; ++i)
            QCOMPARE(list->columnWidth(i), qRound(expected[i] / 15));
    }

    // Rather than clip a caption, the headers take the largest size at which all of them fit,
    // each beside the arrow it shows when the list is sorted by it.
    void theHeadersTakeTheLargestSizeThatFits()
    {
        start(std::string());
        const QTreeView* list = m_window->findChild<QTreeView*>("LW1");
        const QHeaderView* header = list->header();
        const auto fits = [&](double pointSize) {
            QFont font = header->font();
            font.setPointSizeF(pointSize);
            const QFontMetrics metrics(font);
            for (int column = 0; column < 7; ++column) {
                const QString caption = m_window->contactList()
                                            ->headerData(column, Qt::Horizontal, Qt::DisplayRole)
                                            .toString();
                if (metrics.horizontalAdvance(caption) >
                    MainWindow::headerCaptionRoom(header, list->columnWidth(column), font))
                    return false;
            }
            return true;
        };
        const double size = header->font().pointSizeF();
        QVERIFY(fits(size));
        // Beside the arrow of the header as tall as it is, each caption has its room.
        for (int column = 0; column < 7; ++column) {
            QStyleOptionHeader option;
            option.initFrom(header);
            option.state |= QStyle::State_Horizontal;
            option.orientation = Qt::Horizontal;
            option.rect = QRect(0, 0, list->columnWidth(column), header->sizeHint().height());
            option.sortIndicator = QStyleOptionHeader::SortDown;
            const QString caption = m_window->contactList()
                                        ->headerData(column, Qt::Horizontal, Qt::DisplayRole)
                                        .toString();
            QVERIFY2(QFontMetrics(header->font()).horizontalAdvance(caption) <=
                         header->style()
                             ->subElementRect(QStyle::SE_HeaderLabel, &option, header)
                             .width(),
                     qPrintable(caption));
        }
        QVERIFY(size == QTreeView().header()->font().pointSizeF() || !fits(size + 0.25));
    }

    void findsItsProgramDirectoryThroughALauncherLink()
    {
        const auto programDir = m_dir->path() / "lib/tortavela";
        const auto launchers = m_dir->path() / "bin";
        std::filesystem::create_directories(programDir);
        std::filesystem::create_directories(launchers);
        std::filesystem::copy_file(AGENDELA_PATH, programDir / "Agendela");
        std::filesystem::create_symlink("../lib/tortavela/Agendela", launchers / "Agendela");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", QString::fromStdString((m_dir->path() / "config").string()));
        QProcess manager;
        manager.setProcessEnvironment(env);
        manager.start(QString::fromStdString((launchers / "Agendela").string()), {});
        QVERIFY(manager.waitForStarted());
        const auto entryFile = m_dir->path() / "config/autostart/Tortavela.desktop";
        QTRY_VERIFY_WITH_TIMEOUT(std::filesystem::exists(entryFile), 10000);
        manager.kill();
        manager.waitForFinished();
        QVERIFY(!std::filesystem::exists(launchers / "data.tvl"));
        QVERIFY(std::filesystem::exists(programDir / "data.tvl"));
        const std::string entry = readBytes(entryFile);
        QVERIFY(entry.find((programDir / "Avisela").string()) != std::string::npos);
    }

    void aSecondManagerEndsAtOnceAndLeavesTheFirstAlone()
    {
        // Real processes in a program directory of their own, as installed.
        const auto exe = m_dir->path() / "Agendela";
        std::filesystem::copy_file(AGENDELA_PATH, exe);
        writeBytes(m_dir->path() / "data.tvl",
                   fileOf({recordLine({"Ana", "", "", "1/1", "", "", "", ""})}));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", QString::fromStdString((m_dir->path() / "config").string()));
        QProcess first;
        first.setProcessEnvironment(env);
        first.start(QString::fromStdString(exe.string()), {});
        QVERIFY(first.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(
            std::filesystem::exists(m_dir->path() / "config/autostart/Tortavela.desktop"), 10000);

        QProcess second;
        second.setProcessEnvironment(env);
        QElapsedTimer timer;
        timer.start();
        second.start(QString::fromStdString(exe.string()), {});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(first.state() == QProcess::Running);
        first.kill();
        first.waitForFinished();
    }
};

QTEST_MAIN(MainWindowStartupTest)
#include "MainWindowStartupTest.moc"
