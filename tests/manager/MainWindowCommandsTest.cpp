#include "manager/AboutPicture.h"
#include "manager/AboutWindow.h"
#include "manager/ContactListModel.h"
#include "platform/gui/Accessibility.h"
#include "tests/manager/ManagerHarness.h"
#include "tests/support/FileText.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSet>
#include <QSignalSpy>
#include <QTimer>
#include <QTreeView>
#include <QUrl>
#include <QtTest>

using namespace manager;

// Stands for the desktop's viewer: keeps what it was asked to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

namespace {

// The letter "&" marks in a caption, in small letters.
QString mnemonic(const QString& caption)
{
    const qsizetype mark = caption.indexOf(QLatin1Char('&'));
    return mark < 0 || mark + 1 >= caption.size() ? QString() : caption.mid(mark + 1, 1).toLower();
}

int distinctLetters(const QString& letters)
{
    return static_cast<int>(QSet<QChar>(letters.begin(), letters.end()).size());
}

} // namespace

// The main window's menus, the note box that follows the selected contact, and the About
// window, on the real windows.
class MainWindowCommandsTest : public QObject {
    Q_OBJECT

    static QByteArray bytesOf(const std::string& s) { return QByteArray::fromStdString(s); }
    static std::string line(const char* name, const char* note)
    {
        return recordLine({name, "", "30", "05/03", "", "", "", note});
    }

private slots:
    // The captions read as designed. Each entry has a letter of its own for Alt, and the
    // commands have the keys of other desktop programs.
    void theMenusReadAsDesignedWithTheDesktopsKeys()
    {
        ManagerHarness manager("");
        QString menuBarLetters;
        const auto items = [&](const char* name) {
            const QMenu* menu = manager.window().findChild<QMenu*>(name);
            menuBarLetters += mnemonic(menu->title());
            QStringList items;
            QString letters;
            for (const QAction* action : menu->actions()) {
                if (action->isSeparator()) {
                    items << "-=" + action->objectName();
                    continue;
                }
                letters += mnemonic(action->text());
                const QString keys = action->shortcut().toString();
                items << platform::withoutMnemonic(action->text()) + "=" + action->objectName() +
                             (keys.isEmpty() ? QString() : " " + keys);
            }
            items << "letters " + QString::number(distinctLetters(letters)) + " of " +
                         QString::number(letters.size());
            return items;
        };
        QCOMPARE(items("mnuarchivo"),
                 (QStringList{
                     "Agregar...=mnuadd Ctrl+N", "Modificar...=mnumodi", "Quitar=mnudel Del",
                     "Importar contactos...=mnuimportar", "Exportar contactos...=mnuexportar",
                     "Exportar cumpleaños...=mnuexportarcumple", "Sincronizar ahora=syncNowCommand",
                     "Cuenta de sincronización...=syncAccountCommand", "-=mnuguion",
                     "Salir=mnuend Ctrl+Q", "letters 9 of 9"}));
        QCOMPARE(items("mnuayuda"), (QStringList{"Acerca De...=mnuacerca",
                                                 "Guía de Tortavela=mnuguia", "letters 2 of 2"}));
        QCOMPARE(
            platform::withoutMnemonic(manager.window().findChild<QMenu*>("mnuarchivo")->title()),
            QStringLiteral("Archivo"));
        QCOMPARE(platform::withoutMnemonic(manager.window().findChild<QMenu*>("mnuayuda")->title()),
                 QStringLiteral("Ayuda"));
        QCOMPARE(distinctLetters(menuBarLetters), 2);
    }

    // Intro or a double click on a row modifies it, Supr removes it after the question (in the
    // search box it deletes a letter), Ctrl+N adds; the list's context menu has the same
    // commands.
    void theKeysAndTheMouseOfOtherProgramsRunTheCommands()
    {
        ManagerHarness manager(fileOf({line("Ana", "de Ana"), line("Bea", "de Bea")}));
        manager.answer = QMessageBox::Cancel;
        MainWindow& window = manager.window();
        QTreeView* list = window.listView();
        window.activateWindow();
        QTRY_VERIFY(window.isActiveWindow());
        const auto openedFor = [&]() -> QString {
            auto* form = window.findChild<ContactDialog*>();
            if (!form)
                return "nothing";
            const QString opened = form->original() ? text(form, 0) : "a new contact";
            form->reject();
            return manager.isOpen<ContactDialog>() ? "a dialog that stays" : opened;
        };

        manager.clickRow("Bea");
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(openedFor(), QStringLiteral("Bea"));
        // A double click's first click selects the row.
        const QPoint ana = list->visualRect(window.listIndex(0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, ana);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, ana);
        QCOMPARE(openedFor(), QStringLiteral("Ana"));
        QTest::keyClick(list, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(openedFor(), QStringLiteral("a new contact"));

        // Back from the dialog, the keyboard is on the list again.
        QTRY_VERIFY(window.isActiveWindow());
        QCOMPARE(QApplication::focusWidget(), list);
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(manager.messages.size(), 1);
        QCOMPARE(manager.messages[0].title, QStringLiteral("Tortavela"));
        QLineEdit* search = window.searchBox();
        typeInto(search, "Bx");
        search->setCursorPosition(1);
        QTest::keyClick(search, Qt::Key_Delete);
        QCOMPARE(search->text(), QStringLiteral("B"));
        QCOMPARE(manager.messages.size(), 1);
        search->clear();

        // A right click selects the row under it and offers the commands on it. The window
        // system turns the click into a context menu request, which is sent here as it would.
        const QPoint bea = list->visualRect(window.listIndex(1)).center();
        manager.clickRow("Ana");
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, bea);
        QContextMenuEvent request(QContextMenuEvent::Mouse, bea,
                                  list->viewport()->mapToGlobal(bea));
        QApplication::sendEvent(list->viewport(), &request);
        auto* menu = window.findChild<QMenu*>("mnulista");
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(window.selectedRow(), std::optional<int>(1));
        QStringList commands;
        for (const QAction* action : menu->actions())
            commands << action->objectName();
        QCOMPARE(commands, (QStringList{"mnuadd", "mnumodi", "mnudel"}));
        QTest::keyClick(menu, Qt::Key_Q);
        QCOMPARE(manager.messages.size(), 2);
        QCOMPARE(manager.bytes(), fileOf({line("Ana", "de Ana"), line("Bea", "de Bea")}));
    }

    void ctrlQEndsTheProgram()
    {
        ManagerHarness manager("");
        manager.window().activateWindow();
        QTRY_VERIFY(manager.window().isActiveWindow());
        QTimer::singleShot(0, [&] {
            QTest::keyClick(manager.window().listView(), Qt::Key_Q, Qt::ControlModifier);
        });
        QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
        QCOMPARE(QCoreApplication::exec(), 0);
    }

    // "Guía de Tortavela" hands the guide beside the programs to the desktop's viewer.
    void theGuideOpensInTheDesktopsViewer_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::newRow("the guide beside the programs") << true;
        QTest::newRow("the guide missing") << false;
    }

    void theGuideOpensInTheDesktopsViewer()
    {
        QFETCH(bool, installed);
        ManagerHarness manager("");
        const auto guide = manager.dir() / "GUIA.md";
        if (installed)
            writeBytes(guide, "# Guía de Tortavela\n");
        UrlCatcher viewer;
        QDesktopServices::setUrlHandler("file", &viewer, "open");
        manager.action("mnuguia")->trigger();
        QDesktopServices::unsetUrlHandler("file");
        const QString path = QString::fromStdString(guide.string());
        if (installed) {
            QCOMPARE(viewer.opened, QList<QUrl>{QUrl::fromLocalFile(path)});
            QVERIFY(manager.messages.isEmpty());
        } else {
            QVERIFY(viewer.opened.isEmpty());
            QCOMPARE(manager.messages.size(), 1);
            QVERIFY(manager.messages[0].text.contains(path));
        }
    }

    void aClickShowsTheRowsOwnNote_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("clicked");
        QTest::addColumn<QString>("note");

        const QByteArray both = bytesOf(fileOf({line("Ana", "de Ana"), line("ana", "de ana")}));
        const QByteArray twice = bytesOf(fileOf({line("Ana", "primera"), line("Ana", "segunda")}));
        QTest::newRow("an empty note") << bytesOf(fileOf({line("Ana", "")})) << 0 << "";
        QTest::newRow("Ana among names differing in case") << both << 0 << "de Ana";
        QTest::newRow("ana among names differing in case") << both << 1 << "de ana";
        QTest::newRow("the first of two lines with one name") << twice << 0 << "primera";
        QTest::newRow("the second of two lines with one name") << twice << 1 << "segunda";
        QTest::newRow("a line without its eighth terminator")
            << bytesOf(fileOf({cp1252("Ana§§30§05/03§§§§de Ana")})) << 0 << "de Ana";
    }

    void aClickShowsTheRowsOwnNote()
    {
        QFETCH(QByteArray, stored);
        QFETCH(int, clicked);
        QFETCH(QString, note);
        ManagerHarness manager(stored.toStdString());
        manager.clickRow(clicked);
        QCOMPARE(manager.window().note(), note);
        QCOMPARE(manager.window().findChild<QPlainTextEdit*>("txtdesc")->toPlainText(), note);
        QVERIFY(manager.commandsEnabled());
    }

    // The commands act on the selected row only: with none they are off, and a click turns them
    // on again.
    void theCommandsFollowTheSelection()
    {
        ManagerHarness manager(fileOf({line("Ana", "de Ana"), line("Bea", "de Bea")}));
        QTreeView* list = manager.window().listView();
        const QPoint ana = list->visualRect(manager.window().listIndex(0)).center();
        QVERIFY(manager.commandsEnabled());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, ana);
        QVERIFY(!manager.window().selectedRow());
        QVERIFY(!manager.commandsEnabled());
        QCOMPARE(manager.window().note(), QString());
        QVERIFY(!manager.openDialog("mnumodi"));
        manager.clickRow("Bea");
        QVERIFY(manager.commandsEnabled());
        QCOMPARE(manager.window().note(), QStringLiteral("de Bea"));
    }

    void theNoteFollowsTheKeyboard()
    {
        ManagerHarness manager(
            fileOf({line("Carla", "de Carla"), line("Ana", "de Ana"), line("Bea", "de Bea")}));
        QTreeView* list = manager.window().listView();
        manager.clickRow("Ana");
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(manager.window().note(), QStringLiteral("de Bea"));
        QTest::keyClick(list, Qt::Key_End);
        QCOMPARE(manager.window().note(), QStringLiteral("de Carla"));
        QTest::keyClick(list, Qt::Key_Home);
        QCOMPARE(manager.window().note(), QStringLiteral("de Ana"));
    }

    void aDialogKeepsTheMainWindowFromInputAndClosing()
    {
        ManagerHarness manager(fileOf({line("Ana", "")}));
        auto* form = manager.openDialog("mnuadd");
        QVERIFY(form && form->isVisible());
        QVERIFY(!manager.window().isEnabled());
        QVERIFY(!manager.window().close());
        QVERIFY(manager.window().isVisible());
        form->close();
        QVERIFY(manager.window().isEnabled());
        QVERIFY(manager.window().close());
    }

    void theAboutWindowShowsThePictureAndCloses_data()
    {
        QTest::addColumn<int>("key"); // 0: a click on the picture, -1: the close box
        QTest::newRow("a click on the picture") << 0;
        QTest::newRow("the close box") << -1;
        QTest::newRow("Escape") << int(Qt::Key_Escape);
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Space") << int(Qt::Key_Space);
    }

    void theAboutWindowShowsThePictureAndCloses()
    {
        QFETCH(int, key);
        ManagerHarness manager("");
        manager.action("mnuacerca")->trigger();
        auto* about = manager.window().findChild<AboutWindow*>();
        QVERIFY(about && about->isVisible());
        QCOMPARE(about->windowTitle(), QStringLiteral("Acerca De Tortavela"));
        QCOMPARE(about->size(), QSize(361, 245));
        auto* image = about->findChild<QLabel*>("Image1");
        QCOMPARE(image->pixmap().size(), QSize(363, 255));
        // Screen readers say what it shows.
        QVERIFY(image->accessibleName().contains(QStringLiteral("Tortavela")));
        QVERIFY(image->accessibleDescription().contains(QStringLiteral("tarta")));
        QVERIFY(!manager.window().isEnabled());
        QVERIFY(about->isEnabled());
        // It takes the keyboard, so that its keys reach it.
        QTRY_COMPARE(QApplication::activeWindow(), about);
        QVERIFY(QApplication::focusWidget() && QApplication::focusWidget()->window() == about);

        if (key < 0)
            about->close();
        else if (key == 0)
            QTest::mouseClick(image, Qt::LeftButton, {}, QPoint(100, 100));
        else
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QVERIFY(!manager.isOpen<AboutWindow>());
        QVERIFY(manager.window().isEnabled());
    }

    void theAboutPictureIsAFullColourDrawing()
    {
        const QImage picture = drawAboutPicture();
        QCOMPARE(picture.size(), QSize(363, 255));
        QCOMPARE(picture.format(), QImage::Format_RGB888);
        QCOMPARE(drawAboutPicture(), picture);
        QSet<QRgb> colours;
        for (int y = 0; y < picture.height(); y += 3)
            for (int x = 0; x < picture.width(); x += 3)
                colours.insert(picture.pixel(x, y));
        QVERIFY2(colours.size() > 500, qPrintable(QString::number(colours.size())));
    }

    // Another program changes the file (the reminder advances an age, a hand edit adds and
    // removes lines): the list shows the file within a second, with the same contact selected
    // and the list scrolled where it was.
    void theListFollowsTheFile_data()
    {
        QTest::addColumn<bool>("renamedOver");
        QTest::newRow("a new file renamed over it, as the reminder writes") << true;
        QTest::newRow("written in place, as an editor may") << false;
    }

    void theListFollowsTheFile()
    {
        QFETCH(bool, renamedOver);
        std::vector<std::string> lines;
        for (int i = 0; i < 40; ++i) {
            const std::string n = (i < 10 ? "0" : "") + std::to_string(i);
            lines.push_back(
                recordLine({"Contacto " + n, "", "30", "05/03", "", "", "", "nota " + n}));
        }
        ManagerHarness manager(fileOf(lines));
        manager.clickRow("Contacto 30");
        QScrollBar* scroll = manager.window().listView()->verticalScrollBar();
        const int scrolledTo = scroll->value();
        QVERIFY(scrolledTo > 0);

        lines[30] = recordLine({"Contacto 30", "", "31", "5/3", "", "", "", "nota 30"});
        lines.erase(lines.begin());
        lines.push_back(recordLine({"Nuevo", "", "", "01/01", "", "", "", ""}));
        if (renamedOver) {
            writeBytes(manager.dir() / "otro.tvl", fileOf(lines));
            std::filesystem::rename(manager.dir() / "otro.tvl", manager.file());
        } else {
            writeBytes(manager.file(), fileOf(lines));
        }

        QTRY_VERIFY_WITH_TIMEOUT(manager.names().contains("Nuevo"), 1000);
        QVERIFY(!manager.names().contains("Contacto 00"));
        QCOMPARE(manager.countCaption(), QStringLiteral("Cantidad De Contactos : 40"));
        const auto selected = manager.window().selectedRow();
        QVERIFY(selected);
        QCOMPARE(manager.row(*selected)[0], QStringLiteral("Contacto 30"));
        QCOMPARE(manager.row(*selected)[2], QStringLiteral("31"));
        QCOMPARE(manager.window().note(), QStringLiteral("nota 30"));
        QCOMPARE(scroll->value(), scrolledTo);
    }

    // The manager's own changes are already in the list: reading the file again would only lose
    // time, and it does not happen.
    void theManagersOwnChangesAreNotReadAgain()
    {
        ManagerHarness manager(fileOf({line("Ana", "de Ana"), line("Bea", "de Bea")}));
        QSignalSpy resets(manager.window().contactList(), &QAbstractItemModel::modelReset);
        auto* form = manager.openDialog("mnuadd");
        fillForm(form, {"Carla"}, 0, 0);
        clickAceptar(form);
        QCOMPARE(manager.names(), (QStringList{"Ana", "Bea", "Carla"}));
        QTest::qWait(600);
        QCOMPARE(resets.count(), 0);
    }

    // A file that cannot be read for a moment, or is missing, says nothing about the contacts:
    // the list stays, no empty file is made, and the list follows the file once it is back.
    void aFileThatCannotBeReadLeavesTheListAsItWas_data()
    {
        QTest::addColumn<bool>("removed");
        QTest::newRow("removed") << true;
        QTest::newRow("a directory in its place") << false;
    }

    void aFileThatCannotBeReadLeavesTheListAsItWas()
    {
        QFETCH(bool, removed);
        ManagerHarness manager(fileOf({line("Ana", "de Ana")}));
        std::filesystem::remove(manager.file());
        if (!removed)
            std::filesystem::create_directory(manager.file());
        manager.followFile();
        QCOMPARE(manager.names(), QStringList{"Ana"});
        QVERIFY(manager.messages.isEmpty());
        QCOMPARE(std::filesystem::exists(manager.file()), !removed);

        std::filesystem::remove(manager.file());
        writeBytes(manager.file(), fileOf({line("Bea", "de Bea")}));
        manager.followFile();
        QCOMPARE(manager.names(), QStringList{"Bea"});
    }

    void salirEndsTheProgramEvenWithoutAContactFile()
    {
        ManagerHarness manager("");
        std::filesystem::remove(manager.file());
        QTimer::singleShot(0, manager.action("mnuend"), &QAction::trigger);
        QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
        QCOMPARE(QCoreApplication::exec(), 0);
    }
};

QTEST_MAIN(MainWindowCommandsTest)
#include "MainWindowCommandsTest.moc"
