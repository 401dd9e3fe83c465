#include "manager/ContactListModel.h"
#include "tests/manager/ManagerHarness.h"
#include "tests/support/FileText.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QtTest>

using namespace manager;

// The modify dialog on the real main window: how it fills the form, its own duplicate test,
// and what an acceptance leaves in the file and the list.
class ModifyContactTest : public QObject {
    Q_OBJECT

    static QByteArray bytesOf(const std::string& s) { return QByteArray::fromStdString(s); }
    static std::string line(const char* name, const char* age = "30", const char* note = "")
    {
        return recordLine({name, "", age, "05/03", "", "", "", note});
    }

    // Selects the contact, opens "Modificar...", sets the name and accepts.
    static void rename(ManagerHarness& manager, const QString& from, const QString& to)
    {
        manager.clickRow(from);
        auto* form = manager.openDialog("mnumodi");
        QVERIFY(form);
        setText(form, 0, to);
        clickAceptar(form);
    }

private slots:
    void opensFilledFromTheSelectedRowAndItsNote_data()
    {
        QTest::addColumn<QString>("birthday");
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("month");
        QTest::newRow("as the manager stores it") << "05/03" << 4 << 2;
        QTest::newRow("as the reminder rewrites it") << "5/3" << 4 << 2;
        QTest::newRow("the last day of the year") << "31/12" << 30 << 11;
        QTest::newRow("no day and month: no choice") << "pronto" << -1 << -1;
    }

    void opensFilledFromTheSelectedRowAndItsNote()
    {
        QFETCH(QString, birthday);
        QFETCH(int, day);
        QFETCH(int, month);
        ManagerHarness manager(
            fileOf({recordLine({"Ana", "Anita", "30", "1/1", "555", "Calle 1", "a@b", "de Ana"}),
                    recordLine({"Bea", "Bei", "41", birthday.toStdString(), "666", "Calle 2", "b@c",
                                "de Bea"})}));
        manager.clickRow("Bea");
        auto* form = manager.openDialog("mnumodi");
        QVERIFY(form);
        QCOMPARE(form->windowTitle(), QStringLiteral("Modificar"));
        QVERIFY(!manager.window().isEnabled());
        const QStringList expected = {"Bea", "Bei",     "41",  birthday,
                                      "666", "Calle 2", "b@c", "de Bea"};
        for (int i = 0; i < 8; ++i)
            QCOMPARE(text(form, i), expected[i]);
        QCOMPARE(form->dayList()->currentIndex(), day);
        QCOMPARE(form->monthList()->currentIndex(), month);
    }

    // A birthday no year has (from a file written by hand) is shown as stored, and "Aceptar"
    // refuses it until another day is chosen.
    void aStoredDayTheMonthLacksIsShownAndMustBeCorrected()
    {
        ManagerHarness manager(fileOf({recordLine({"Ana", "", "30", "31/02", "", "", "", ""})}));
        manager.clickRow("Ana");
        auto* form = manager.openDialog("mnumodi");
        QTRY_COMPARE(QApplication::activeWindow(), form);
        QCOMPARE(form->dayList()->currentText(), QStringLiteral("31"));
        QCOMPARE(form->monthList()->currentText(), QStringLiteral("Febrero"));
        clickAceptar(form);
        QCOMPARE(manager.messages.size(), 1);
        QCOMPARE(manager.messages[0].text,
                 QStringLiteral("La fecha de cumpleaños no existe: febrero tiene 29 días"));
        QCOMPARE(manager.messages[0].icon, QMessageBox::Critical);
        QCOMPARE(QApplication::focusWidget(), form->dayList());
        QCOMPARE(manager.bytes(), fileOf({recordLine({"Ana", "", "30", "31/02", "", "", "", ""})}));

        form->dayList()->setCurrentIndex(28);
        clickAceptar(form);
        QCOMPARE(manager.bytes(), fileOf({recordLine({"Ana", "", "30", "29/02", "", "", "", ""})}));
    }

    // The search hid the contact once changed: it is cleared, so that the contact is seen
    // selected.
    void aChangedContactTheSearchWouldHideIsShownSelected()
    {
        ManagerHarness manager(fileOf({line("Ana"), line("Bea")}));
        typeInto(manager.window().searchBox(), "an");
        QCOMPARE(manager.shownNames(), QStringList{"Ana"});
        rename(manager, "Ana", "Alba");
        QCOMPARE(manager.window().searchBox()->text(), QString());
        QCOMPARE(manager.shownNames(), (QStringList{"Alba", "Bea"}));
        QCOMPARE(manager.window().selectedRow(), std::optional<int>(0));
    }

    void acceptingUnchangedMovesTheLineLast()
    {
        ManagerHarness manager(fileOf({line("Ana"), line("Bea", "41", "de Bea"), line("Carla")}));
        manager.clickRow("Bea");
        QVERIFY(manager.commandsEnabled());
        clickAceptar(manager.openDialog("mnumodi"));

        QCOMPARE(manager.bytes(),
                 fileOf({line("Ana"), line("Carla"), line("Bea", "41", "de Bea")}));
        QVERIFY(!manager.exists("data2.tvl"));
        QCOMPARE(manager.names(), (QStringList{"Ana", "Bea", "Carla"}));
        // The changed contact stays selected, its note shown, ready for the next command.
        QCOMPARE(manager.window().selectedRow(), std::optional<int>(1));
        QCOMPARE(manager.window().note(), QStringLiteral("de Bea"));
        QVERIFY(manager.commandsEnabled());
        QCOMPARE(manager.countCaption(), QStringLiteral("Cantidad De Contactos : 3"));
        QVERIFY(manager.window().isEnabled());
        QVERIFY(!manager.isOpen<ContactDialog>());
    }

    void aBirthdayWrittenByTheReminderIsStoredWithTwoDigits()
    {
        ManagerHarness manager(fileOf({recordLine({"Ana", "", "31", "5/3", "", "", "", ""})}));
        manager.clickRow("Ana");
        clickAceptar(manager.openDialog("mnumodi"));
        QCOMPARE(manager.bytes(), fileOf({recordLine({"Ana", "", "31", "05/03", "", "", "", ""})}));
        QCOMPARE(manager.window().contactList()->cell(0, 3), QStringLiteral("05/03"));
    }

    void theDuplicateTestSparesTheContactsOwnName_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QStringList>("namesAfter");
        QTest::newRow("only the capitals change") << "ana"
                                                  << "Ana" << false << QStringList{"Ana", "bea"};
        QTest::newRow("another contact's name in other capitals")
            << "ana"
            << "BEA" << true << QStringList{"ana", "bea"};
        QTest::newRow("a name no line bears") << "ana"
                                              << "Zoe" << false << QStringList{"bea", "Zoe"};
    }

    void theDuplicateTestSparesTheContactsOwnName()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(bool, refused);
        QFETCH(QStringList, namesAfter);
        const std::string stored = fileOf({line("ana", "30", "de ana"), line("bea")});
        ManagerHarness manager(stored);
        rename(manager, from, to);

        QCOMPARE(manager.names(), namesAfter);
        if (refused) {
            QCOMPARE(manager.messages.size(), 1);
            QCOMPARE(manager.messages[0].text,
                     QStringLiteral("El contacto con el nombre dado ya existe"));
            QCOMPARE(manager.messages[0].icon, QMessageBox::Information);
            QCOMPARE(manager.bytes(), stored);
            QVERIFY(manager.isOpen<ContactDialog>());
            QVERIFY(!manager.window().isEnabled());
        } else {
            QVERIFY(manager.messages.isEmpty());
            QCOMPARE(manager.bytes(),
                     fileOf({line("bea"), line(to.toUtf8().constData(), "30", "de ana")}));
        }
    }

    // The contact's line no longer equals what the list shows: the reminder advanced the age,
    // or the line carries text after its last terminator. The name still finds it, so the
    // file never ends up with the old and the new version of one contact.
    void aLineChangedSinceLoadingIsStillReplaced_data()
    {
        QTest::addColumn<QByteArray>("storedNow");
        QTest::newRow("the reminder advanced the age") << bytesOf(line("Bea", "42", "de Bea"));
        QTest::newRow("text after the eighth terminator")
            << bytesOf(line("Bea", "41", "de Bea") + "resto");
    }

    void aLineChangedSinceLoadingIsStillReplaced()
    {
        QFETCH(QByteArray, storedNow);
        ManagerHarness manager(fileOf({line("Ana"), line("Bea", "41", "de Bea"), line("Carla")}));
        manager.clickRow("Bea");
        writeBytes(manager.file(), fileOf({line("Ana"), storedNow.toStdString(), line("Carla")}));
        auto* form = manager.openDialog("mnumodi");
        setText(form, 2, QStringLiteral("43"));
        clickAceptar(form);
        QCOMPARE(manager.bytes(),
                 fileOf({line("Ana"), line("Carla"), line("Bea", "43", "de Bea")}));
        QCOMPARE(manager.names(), (QStringList{"Ana", "Bea", "Carla"}));
    }

    void twoEqualLinesAreBothReplacedByOne()
    {
        ManagerHarness manager(fileOf({line("Bea"), line("Ana"), line("Bea")}));
        QCOMPARE(manager.names(), (QStringList{"Ana", "Bea", "Bea"}));
        manager.clickRow(1);
        auto* form = manager.openDialog("mnumodi");
        setText(form, 2, QStringLiteral("31"));
        clickAceptar(form);
        QCOMPARE(manager.bytes(), fileOf({line("Ana"), line("Bea", "31")}));
        QCOMPARE(manager.names(), (QStringList{"Ana", "Bea"}));
        QCOMPARE(manager.window().contactList()->cell(1, 2), QStringLiteral("31"));
        // The count always tells the rows.
        QCOMPARE(manager.countCaption(), QStringLiteral("Cantidad De Contactos : 2"));
    }

    // The note box follows the selection, so a contact never receives another one's note.
    void theNoteIsAlwaysTheSelectedContacts()
    {
        ManagerHarness manager(fileOf({line("Carla", "30", "de Carla"), line("Ana", "30", "de Ana"),
                                       line("Bea", "30", "de Bea")}));
        QCOMPARE(manager.window().note(), QStringLiteral("de Carla"));
        manager.clickRow("Ana");
        QTest::keyClick(manager.window().listView(), Qt::Key_Down);
        QCOMPARE(manager.window().selectedRow(), std::optional<int>(manager.positionOf("Bea")));
        auto* form = manager.openDialog("mnumodi");
        QCOMPARE(text(form, 7), QStringLiteral("de Bea"));
        setText(form, 1, QStringLiteral("Bei"));
        clickAceptar(form);
        QCOMPARE(manager.bytes(),
                 fileOf({line("Carla", "30", "de Carla"), line("Ana", "30", "de Ana"),
                         recordLine({"Bea", "Bei", "30", "05/03", "", "", "", "de Bea"})}));
    }

    void aFailedStoreIsReportedAndChangesNothing()
    {
        const std::string stored = fileOf({line("Ana"), line("Bea")});
        ManagerHarness manager(stored);
        std::filesystem::create_directory(manager.dir() / "data2.tvl");
        rename(manager, "Ana", "Alba");
        QCOMPARE(manager.messages.size(), 1);
        QCOMPARE(manager.messages[0].icon, QMessageBox::Critical);
        QCOMPARE(manager.bytes(), stored);
        QCOMPARE(manager.names(), (QStringList{"Ana", "Bea"}));
        QVERIFY(manager.isOpen<ContactDialog>());
        QVERIFY(manager.commandsEnabled());
    }

    // A hand-edited file may hold two lines with one name: each row stands for its own line.
    void aContactSharingItsNameWithAnotherLineChangesAlone()
    {
        const std::string first = line("Ana", "30", "primera");
        const std::string second = line("Ana", "30", "segunda");
        ManagerHarness manager(fileOf({first, line("Bea"), second}));
        const int row = manager.names().lastIndexOf("Ana");
        manager.clickRow(row);
        auto* form = manager.openDialog("mnumodi");
        QCOMPARE(text(form, 7), QStringLiteral("segunda"));
        setText(form, 2, QStringLiteral("31"));
        clickAceptar(form);
        QCOMPARE(manager.bytes(), fileOf({first, line("Bea"), line("Ana", "31", "segunda")}));
        QCOMPARE(manager.names(), (QStringList{"Ana", "Ana", "Bea"}));
        QCOMPARE(manager.countCaption(), QStringLiteral("Cantidad De Contactos : 3"));
    }

    // The contact's line changed meanwhile and no single line stands for it any more: nothing
    // is written, the user is told, the list shows the file and the dialog keeps the input.
    void aContactNoLongerFoundIsRefused_data()
    {
        QTest::addColumn<QByteArray>("storedNow");
        QTest::addColumn<QStringList>("namesAfter");
        QTest::newRow("removed by another program")
            << bytesOf(fileOf({line("Ana")})) << QStringList{"Ana"};
        QTest::newRow("two changed lines bear its name")
            << bytesOf(fileOf({line("Ana"), line("Bea", "42"), line("Bea", "43")}))
            << QStringList{"Ana", "Bea", "Bea"};
    }

    void aContactNoLongerFoundIsRefused()
    {
        QFETCH(QByteArray, storedNow);
        QFETCH(QStringList, namesAfter);
        ManagerHarness manager(fileOf({line("Ana"), line("Bea", "41")}));
        manager.clickRow("Bea");
        auto* form = manager.openDialog("mnumodi");
        writeBytes(manager.file(), storedNow.toStdString());
        setText(form, 1, QStringLiteral("Bei"));
        clickAceptar(form);

        QCOMPARE(manager.messages.size(), 1);
        QCOMPARE(manager.messages[0].icon, QMessageBox::Warning);
        QVERIFY(manager.messages[0].text.contains(QStringLiteral("No se ha cambiado nada")));
        QCOMPARE(manager.bytes(), storedNow.toStdString());
        QCOMPARE(manager.names(), namesAfter);
        QCOMPARE(manager.countCaption(),
                 QStringLiteral("Cantidad De Contactos : %1").arg(namesAfter.size()));
        QVERIFY(manager.isOpen<ContactDialog>());
        QCOMPARE(text(form, 1), QStringLiteral("Bei"));
    }

    // The reminder advances the age while the dialog is open: accepting the dialog keeps the
    // advance and the user's own changes. Where both changed one field, the dialog wins and
    // the user is told.
    void aChangeMadeMeanwhileIsMergedFieldByField_data()
    {
        QTest::addColumn<QString>("typedAge");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("messages");
        QTest::newRow("note changed here, age there")
            << "30" << bytesOf(recordLine({"Ana", "", "31", "5/3", "", "", "", "nueva"})) << 0;
        QTest::newRow("age changed on both sides")
            << "35" << bytesOf(recordLine({"Ana", "", "35", "5/3", "", "", "", "nueva"})) << 1;
    }

    void aChangeMadeMeanwhileIsMergedFieldByField()
    {
        QFETCH(QString, typedAge);
        QFETCH(QByteArray, stored);
        QFETCH(int, messages);
        ManagerHarness manager(fileOf({line("Ana", "30", "vieja"), line("Bea")}));
        manager.clickRow("Ana");
        auto* form = manager.openDialog("mnumodi");
        QVERIFY(form);
        writeBytes(
            manager.file(),
            fileOf({line("Bea"), recordLine({"Ana", "", "31", "5/3", "", "", "", "vieja"})}));
        setText(form, 2, typedAge);
        setText(form, 7, "nueva");
        clickAceptar(form);

        QCOMPARE(manager.bytes(), fileOf({line("Bea"), stored.toStdString()}));
        QCOMPARE(manager.messages.size(), messages);
        if (messages)
            QVERIFY(manager.messages.front().text.contains("«35» en lugar de «31»"));
    }

    void cancellingStoresNothingAlsoWithTheKeyboard_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Cancelar") << false;
        QTest::newRow("Escape") << true;
    }

    void cancellingStoresNothingAlsoWithTheKeyboard()
    {
        QFETCH(bool, escape);
        const std::string stored = fileOf({line("Ana"), line("Bea")});
        ManagerHarness manager(stored);
        manager.clickRow("Ana");
        auto* form = manager.openDialog("mnumodi");
        setText(form, 0, QStringLiteral("Alba"));
        if (escape)
            QTest::keyClick(input(form, 0), Qt::Key_Escape);
        else
            QTest::mouseClick(form->cancelButton(), Qt::LeftButton);
        QVERIFY(!manager.isOpen<ContactDialog>());
        QVERIFY(manager.window().isEnabled());
        QCOMPARE(manager.bytes(), stored);
        QCOMPARE(manager.names(), (QStringList{"Ana", "Bea"}));
    }
};

QTEST_MAIN(ModifyContactTest)
#include "ModifyContactTest.moc"
