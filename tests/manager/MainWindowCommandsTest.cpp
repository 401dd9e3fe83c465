#include "AboutPicture.h"
#include "FileText.h"
#include "FrmAcerca.h"
#include "FrmAdd.h"
#include "ManagerHarness.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QSet>
#include <QTimer>
#include <QTreeView>
#include <QtTest>

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
    void theMenusReadAsDesignedWithoutShortcuts()
    {
        ManagerHarness manager("");
        const auto items = [&](const char* menu) {
            QStringList items;
            for (const QAction* action : manager.window().findChild<QMenu*>(menu)->actions())
                items << (action->isSeparator() ? "-" : action->text()) + "=" +
                             action->objectName();
            return items;
        };
        QCOMPARE(manager.window().findChild<QMenu*>("mnuarchivo")->title(),
                 QStringLiteral("Archivo"));
        QCOMPARE(items("mnuarchivo"), (QStringList{"Agregar...=mnuadd", "Modificar...=mnumodi",
                                                   "Quitar=mnudel", "-=mnuguion", "Salir=mnuend"}));
        QCOMPARE(manager.window().findChild<QMenu*>("mnuayuda")->title(), QStringLiteral("Ayuda"));
        QCOMPARE(items("mnuayuda"), QStringList{"Acerca De...=mnuacerca"});
        for (const QAction* action : manager.window().findChildren<QAction*>())
            QVERIFY2(action->shortcut().isEmpty(), qPrintable(action->text()));
    }

    void aClickShowsTheNoteOfTheLineWithThatExactName_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("clicked");
        QTest::addColumn<QByteArray>("storedAtTheClick");
        QTest::addColumn<QString>("note");

        const QByteArray both = bytesOf(fileOf({line("Ana", "de Ana"), line("ana", "de ana")}));
        QTest::newRow("an empty note")
            << bytesOf(fileOf({line("Ana", "")})) << "Ana" << QByteArray() << "";
        QTest::newRow("Ana among names differing in case")
            << both << "Ana" << QByteArray() << "de Ana";
        QTest::newRow("ana among names differing in case")
            << both << "ana" << QByteArray() << "de ana";
        QTest::newRow("the first of two lines with the name")
            << bytesOf(fileOf({line("Ana", "primera"), line("Ana", "segunda")})) << "Ana"
            << QByteArray() << "primera";
        QTest::newRow("no line bears the name any more")
            << bytesOf(fileOf({line("Ana", "de Ana")})) << "Ana"
            << bytesOf(fileOf({line("Bea", "de Bea")})) << "";
        QTest::newRow("the line lost its eighth terminator")
            << bytesOf(fileOf({line("Ana", "de Ana")})) << "Ana"
            << bytesOf(fileOf({cp1252("Ana§§30§05/03§§§§de Ana")})) << "";
    }

    void aClickShowsTheNoteOfTheLineWithThatExactName()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QString, clicked);
        QFETCH(QByteArray, storedAtTheClick);
        QFETCH(QString, note);
        ManagerHarness manager(stored.toStdString());
        manager.window().setContactCommandsEnabled(false);
        if (!storedAtTheClick.isEmpty())
            writeBytes(manager.file(), storedAtTheClick.toStdString());
        manager.clickRow(clicked);
        QCOMPARE(manager.window().note(), note);
        QVERIFY(manager.commandsEnabled());
    }

    void anUnreadableFileShowsNoNoteAndStillEnablesTheCommands()
    {
        ManagerHarness manager(fileOf({line("Ana", "de Ana"), line("Bea", "de Bea")}));
        manager.clickRow("Bea");
        std::filesystem::remove(manager.file());
        std::filesystem::create_directory(manager.file());
        manager.window().setContactCommandsEnabled(false);
        manager.clickRow("Ana");
        QCOMPARE(manager.window().note(), QString());
        QVERIFY(manager.commandsEnabled());
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
        auto* form = manager.open<FrmAdd>("mnuadd");
        QVERIFY(form && form->isVisible());
        QVERIFY(!manager.window().isEnabled());
        QVERIFY(!manager.window().close());
        QVERIFY(manager.window().isVisible());
        form->close();
        QVERIFY(manager.window().isEnabled());
        QVERIFY(manager.window().close());
    }

    void theAboutWindowShowsThePictureAndClosesOnAClick_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("a click on the picture") << false;
        QTest::newRow("the close box") << true;
    }

    void theAboutWindowShowsThePictureAndClosesOnAClick()
    {
        QFETCH(bool, closeBox);
        ManagerHarness manager("");
        auto* about = manager.open<FrmAcerca>("mnuacerca");
        QVERIFY(about && about->isVisible());
        QCOMPARE(about->windowTitle(), QStringLiteral("Acerca De Tortavela"));
        QCOMPARE(about->size(), QSize(361, 245));
        auto* image = about->findChild<QLabel*>("Image1");
        QCOMPARE(image->pixmap().size(), QSize(363, 255));
        QVERIFY(!manager.window().isEnabled());
        QVERIFY(about->isEnabled());

        if (closeBox)
            about->close();
        else
            QTest::mouseClick(image, Qt::LeftButton, {}, QPoint(100, 100));
        QVERIFY(!manager.isOpen<FrmAcerca>());
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
