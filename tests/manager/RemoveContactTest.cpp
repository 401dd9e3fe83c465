#include "manager/ContactListModel.h"
#include "tests/manager/ManagerHarness.h"
#include "tests/support/FileText.h"

#include <QAction>
#include <QLabel>
#include <QTreeView>
#include <QtTest>

using namespace manager;

// "Quitar" on the real main window: the question, and what a removal leaves in the file and
// the list.
class RemoveContactTest : public QObject {
    Q_OBJECT

    static QByteArray bytesOf(const std::string& s) { return QByteArray::fromStdString(s); }
    static std::string line(const char* name, const char* age = "30", const char* note = "")
    {
        return recordLine({name, "", age, "05/03", "", "", "", note});
    }

private slots:
    void asksFirstAndCancelChangesNothing()
    {
        const std::string stored = fileOf({line("Ana", "30", "de Ana"), line("Bea")});
        ManagerHarness manager(stored);
        manager.clickRow("Ana");
        manager.answer = QMessageBox::Cancel;
        manager.action("mnudel")->trigger();

        QCOMPARE(manager.messages.size(), 1);
        const platform::MessageRequest& question = manager.messages[0];
        QCOMPARE(question.text,
                 QStringLiteral("¿Esta seguro que desea borrar el contacto seleccionado?"));
        QCOMPARE(question.title, QStringLiteral("Tortavela"));
        QCOMPARE(question.icon, QMessageBox::Question);
        QCOMPARE(question.buttons, QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(manager.bytes(), stored);
        QVERIFY(!manager.exists("data.tvl2"));
        QCOMPARE(manager.names(), (QStringList{"Ana", "Bea"}));
        QCOMPARE(manager.window().note(), QStringLiteral("de Ana"));
        QCOMPARE(manager.countCaption(), QStringLiteral("Cantidad De Contactos : 2"));
        QVERIFY(manager.commandsEnabled());
    }

    void removingKeepsEveryOtherLineInItsOrder_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("row");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<QStringList>("namesAfter");

        const std::string carla = line("Carla", "30", "de Carla");
        const std::string ana = line("Ana", "41", "de Ana");
        const std::string bea = line("Bea");
        QTest::newRow("one of three")
            << bytesOf(fileOf({carla, ana, bea})) << 1 << bytesOf(fileOf({carla, ana}))
            << QStringList{"Ana", "Carla"};
        QTest::newRow("the only contact leaves zero bytes")
            << bytesOf(fileOf({ana})) << 0 << QByteArray() << QStringList{};
        QTest::newRow("two equal lines both go, and both their rows")
            << bytesOf(fileOf({bea, carla, bea})) << 0 << bytesOf(fileOf({carla}))
            << QStringList{"Carla"};
        QTest::newRow("text after the eighth terminator: found by its name")
            << bytesOf(fileOf({carla, bea + "resto", ana})) << 1 << bytesOf(fileOf({carla, ana}))
            << QStringList{"Ana", "Carla"};
    }

    void removingKeepsEveryOtherLineInItsOrder()
    {
        QFETCH(QByteArray, stored);
        QFETCH(int, row);
        QFETCH(QByteArray, expected);
        QFETCH(QStringList, namesAfter);
        ManagerHarness manager(stored.toStdString());
        manager.clickRow(row);
        manager.action("mnudel")->trigger();

        QCOMPARE(manager.bytes(), expected.toStdString());
        QVERIFY(!manager.exists("data.tvl2"));
        QCOMPARE(manager.names(), namesAfter);
        QCOMPARE(manager.window().note(), QString());
        QCOMPARE(manager.countCaption(),
                 QStringLiteral("Cantidad De Contactos : %1").arg(namesAfter.size()));
        QCOMPARE(manager.window().findChild<QLabel*>("lblcant")->text(),
                 QString::number(namesAfter.size()));
        QVERIFY(!manager.commandsEnabled());
    }

    // The stored age advanced while the list showed the old one: the name still finds it.
    void aLineTheReminderRewroteIsRemovedByItsName()
    {
        ManagerHarness manager(fileOf({line("Ana"), line("Bea", "41")}));
        manager.clickRow("Bea");
        writeBytes(manager.file(),
                   fileOf({line("Ana"), recordLine({"Bea", "", "42", "5/3", "", "", "", ""})}));
        manager.action("mnudel")->trigger();
        QCOMPARE(manager.bytes(), fileOf({line("Ana")}));
        QCOMPARE(manager.names(), QStringList{"Ana"});
    }

    // Nothing stands for the contact any more: nothing is removed, the user is told, and the
    // list shows what the file holds.
    void aContactNoLongerStoredIsRefusedAndLeavesTheList()
    {
        ManagerHarness manager(fileOf({line("Ana"), line("Bea")}));
        manager.clickRow("Bea");
        writeBytes(manager.file(), fileOf({line("Ana")}));
        manager.action("mnudel")->trigger();
        QCOMPARE(manager.messages.size(), 2);
        QCOMPARE(manager.messages[1].icon, QMessageBox::Warning);
        QCOMPARE(manager.bytes(), fileOf({line("Ana")}));
        QCOMPARE(manager.names(), QStringList{"Ana"});
        QCOMPARE(manager.countCaption(), QStringLiteral("Cantidad De Contactos : 1"));
    }

    // A hand-edited file may hold two lines with one name and different notes: "Quitar" on one
    // row drops that row's line only.
    void aContactSharingItsNameWithAnotherLineLeavesAlone()
    {
        const std::string first = line("Ana", "30", "primera");
        const std::string second = line("Ana", "30", "segunda");
        ManagerHarness manager(fileOf({first, line("Bea"), second}));
        manager.clickRow(1);
        QCOMPARE(manager.window().note(), QStringLiteral("segunda"));
        manager.action("mnudel")->trigger();
        QCOMPARE(manager.bytes(), fileOf({first, line("Bea")}));
        QCOMPARE(manager.names(), (QStringList{"Ana", "Bea"}));
        QCOMPARE(manager.countCaption(), QStringLiteral("Cantidad De Contactos : 2"));
    }

    // The list may follow the file while the question waits for an answer: the contact removed
    // is the one selected when it was asked, wherever its row went.
    void theContactAskedAboutIsTheOneRemoved()
    {
        ManagerHarness manager(fileOf({line("Ana"), line("Bea"), line("Carla")}));
        manager.clickRow("Carla");
        platform::setMessageAnswerHook([&](const platform::MessageRequest&) {
            writeBytes(manager.file(),
                       fileOf({line("Aaron"), line("Ana"), line("Bea"), line("Carla")}));
            manager.followFile();
            return QMessageBox::Ok;
        });
        manager.action("mnudel")->trigger();
        QCOMPARE(manager.bytes(), fileOf({line("Aaron"), line("Ana"), line("Bea")}));
        QCOMPARE(manager.names(), (QStringList{"Aaron", "Ana", "Bea"}));
    }

    void aFailedRemovalIsReportedAndChangesNothing()
    {
        const std::string stored = fileOf({line("Ana", "30", "de Ana"), line("Bea")});
        ManagerHarness manager(stored);
        std::filesystem::create_directory(manager.dir() / "data.tvl2");
        manager.clickRow("Ana");
        manager.action("mnudel")->trigger();

        QCOMPARE(manager.messages.size(), 2);
        QCOMPARE(manager.messages[1].icon, QMessageBox::Critical);
        QVERIFY(manager.messages[1].text.contains("data.tvl"));
        QCOMPARE(manager.bytes(), stored);
        QCOMPARE(manager.names(), (QStringList{"Ana", "Bea"}));
        QCOMPARE(manager.window().note(), QStringLiteral("de Ana"));
        QCOMPARE(manager.countCaption(), QStringLiteral("Cantidad De Contactos : 2"));
        QVERIFY(manager.commandsEnabled());
    }

    void aClickAfterARemovalEnablesTheCommandsAgain()
    {
        ManagerHarness manager(fileOf({line("Ana"), line("Bea", "30", "de Bea")}));
        manager.clickRow("Ana");
        manager.action("mnudel")->trigger();
        QVERIFY(!manager.commandsEnabled());
        QVERIFY(!manager.window().selectedRow());
        manager.clickRow("Bea");
        QVERIFY(manager.commandsEnabled());
        QCOMPARE(manager.window().note(), QStringLiteral("de Bea"));
    }

    void withNoRowSelectedNothingIsAsked()
    {
        const std::string stored = fileOf({line("Ana")});
        ManagerHarness manager(stored);
        // A Ctrl+click on the selected row leaves no row selected.
        QTreeView* list = manager.window().listView();
        const QRect row = list->visualRect(manager.window().listIndex(0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, row.center());
        QVERIFY(!manager.window().selectedRow());
        QVERIFY(!manager.commandsEnabled());
        manager.action("mnudel")->trigger();
        QVERIFY(manager.messages.isEmpty());
        QCOMPARE(manager.bytes(), stored);
        QCOMPARE(manager.names(), QStringList{"Ana"});
    }
};

QTEST_MAIN(RemoveContactTest)
#include "RemoveContactTest.moc"
