#include "contacts/BirthdayMarkers.h"
#include "manager/ContactListModel.h"
#include "tests/manager/ManagerHarness.h"
#include "tests/support/FileText.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QToolTip>
#include <QtTest>

using namespace manager;

// The add dialog driven like a user: the form's checks, what an addition stores and shows, and
// the characters that the contact file cannot hold.
class AddContactTest : public QObject {
    Q_OBJECT

    static QByteArray bytesOf(const std::string& s) { return QByteArray::fromStdString(s); }
    static std::string line(const QString& name, const QString& birthday = "01/01",
                            const QString& note = "")
    {
        return recordLine(
            {name.toStdString(), "", "", birthday.toStdString(), "", "", "", note.toStdString()});
    }

private slots:
    void cleanup() { QApplication::clipboard()->clear(); }

    void theFormOpensEmptyWithItsDesignedControls()
    {
        ManagerHarness manager("");
        auto* form = manager.openDialog("mnuadd");
        QVERIFY(form);
        QTRY_COMPARE(QApplication::activeWindow(), form);
        QCOMPARE(form->windowTitle(), QStringLiteral("Agregar"));
        QCOMPARE(form->size(), QSize(417, 320));
        QCOMPARE(form->dayList()->count(), 31);
        QCOMPARE(form->dayList()->itemText(0), QStringLiteral("01"));
        QCOMPARE(form->dayList()->itemText(30), QStringLiteral("31"));
        QCOMPARE(form->monthList()->count(), 12);
        QCOMPARE(form->monthList()->itemText(8), QStringLiteral("Septiembre"));
        QCOMPARE(form->dayList()->currentIndex(), -1);
        QCOMPARE(form->monthList()->currentIndex(), -1);
        for (int i = 0; i < 8; ++i)
            QCOMPARE(text(form, i), QString());
        QVERIFY(!input(form, 3)->isVisible());

        // Tab walks the inputs in the designed order, from the name onwards.
        QCOMPARE(QApplication::focusWidget(), input(form, 0));
        QStringList visited;
        for (int i = 0; i < 11; ++i) {
            visited << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(visited, (QStringList{"txt(0)", "txt(1)", "txt(2)", "cmbdia", "cmbmes", "txt(4)",
                                       "txt(5)", "txt(6)", "txt(7)", "cmdaceptar", "cmdcancel"}));

        // Every caption fits between its left edge and the control beside it.
        for (auto* label : form->findChildren<QLabel*>())
            QVERIFY2(label->sizeHint().width() <= label->width(), qPrintable(label->text()));
    }

    void theChecksRefuseInTheirOrder_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("month");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("atFault"); // the control that has the focus afterwards

        const QByteArray ana = bytesOf(fileOf({line("Ana")}));
        const int stop = QMessageBox::Critical;
        const int info = QMessageBox::Information;
        QTest::newRow("no name and no birthday: only the name is asked for")
            << ana << "" << -1 << -1 << "Debe haber un nombre" << stop << "txt(0)";
        QTest::newRow("a day without a month")
            << ana << "Luis" << 4 << -1 << "Falta la fecha de cumpleaños" << stop << "cmbmes";
        QTest::newRow("a month without a day")
            << ana << "Luis" << -1 << 2 << "Falta la fecha de cumpleaños" << stop << "cmbdia";
        QTest::newRow("ANA while Ana is stored")
            << ana << "ANA" << 0 << 0 << "El contacto con el nombre dado ya existe" << info
            << "txt(0)";
        QTest::newRow("ana while Ana is stored")
            << ana << "ana" << 0 << 0 << "El contacto con el nombre dado ya existe" << info
            << "txt(0)";
        QTest::newRow("ÁNGEL while ángel is stored")
            << bytesOf(fileOf({line("ángel")})) << "ÁNGEL" << 0 << 0
            << "El contacto con el nombre dado ya existe" << info << "txt(0)";
        QTest::newRow("a name of blanks is a name") << ana << "   " << 0 << 0 << "" << 0 << "";
        QTest::newRow("Ana followed by a blank is another name")
            << ana << "Ana " << 0 << 0 << "" << 0 << "";
        QTest::newRow("a line without any terminator holds no name")
            << bytesOf(fileOf({"Luis"})) << "Luis" << 0 << 0 << "" << 0 << "";
    }

    void theChecksRefuseInTheirOrder()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QString, name);
        QFETCH(int, day);
        QFETCH(int, month);
        QFETCH(QString, message);
        QFETCH(int, icon);
        QFETCH(QString, atFault);

        ManagerHarness manager(stored.toStdString());
        auto* form = manager.openDialog("mnuadd");
        QTRY_COMPARE(QApplication::activeWindow(), form);
        fillForm(form, {name, "alias", "30", "tel", "calle", "mail", "nota"}, day, month);
        clickAceptar(form);

        if (message.isEmpty()) {
            QVERIFY(manager.messages.isEmpty());
            QVERIFY(!manager.isOpen<ContactDialog>());
            QVERIFY(manager.names().contains(name));
            return;
        }
        QCOMPARE(manager.messages.size(), 1);
        QCOMPARE(manager.messages[0].text, message);
        QCOMPARE(manager.messages[0].title, QStringLiteral("Error"));
        QCOMPARE(int(manager.messages[0].icon), icon);
        QCOMPARE(manager.messages[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        // The dialog stays as the user left it, and nothing is stored.
        QVERIFY(manager.isOpen<ContactDialog>());
        QVERIFY(!manager.window().isEnabled());
        QCOMPARE(text(form, 0), name);
        QCOMPARE(text(form, 2), QStringLiteral("30"));
        QCOMPARE(text(form, 7), QStringLiteral("nota"));
        QCOMPARE(form->dayList()->currentIndex(), day);
        QCOMPARE(form->monthList()->currentIndex(), month);
        QCOMPARE(manager.bytes(), stored.toStdString());
        QVERIFY(!manager.exists("data2.tvl"));
        // Back where the correction is to be made.
        QCOMPARE(QApplication::focusWidget()->objectName(), atFault);
    }

    // Only the days of the chosen month are offered, 29 for February. A day chosen before a
    // month that lacks it stays chosen, after the month's days, and "Aceptar" refuses it.
    void theDayListOffersTheDaysOfTheChosenMonth_data()
    {
        QTest::addColumn<int>("day"); // chosen first; index from 0, -1 for none
        QTest::addColumn<int>("month");
        QTest::addColumn<QStringList>("lastDays"); // the last two entries
        QTest::addColumn<QString>("chosen");
        QTest::newRow("no month: 31 days") << -1 << -1 << QStringList{"30", "31"} << "";
        QTest::newRow("February: 29 days") << -1 << 1 << QStringList{"28", "29"} << "";
        QTest::newRow("April: 30 days") << -1 << 3 << QStringList{"29", "30"} << "";
        QTest::newRow("the 30th then April") << 29 << 3 << QStringList{"29", "30"} << "30";
        QTest::newRow("the 31st then February: kept after the 29th")
            << 30 << 1 << QStringList{"29", "31"} << "31";
    }

    void theDayListOffersTheDaysOfTheChosenMonth()
    {
        QFETCH(int, day);
        QFETCH(int, month);
        QFETCH(QStringList, lastDays);
        QFETCH(QString, chosen);
        ManagerHarness manager("");
        auto* form = manager.openDialog("mnuadd");
        fillForm(form, {"Ana"}, day, month);
        QComboBox* days = form->dayList();
        QCOMPARE(
            (QStringList{days->itemText(days->count() - 2), days->itemText(days->count() - 1)}),
            lastDays);
        QCOMPARE(days->currentText(), chosen);
        if (chosen != "31")
            return;

        clickAceptar(form);
        QCOMPARE(manager.messages.size(), 1);
        QCOMPARE(manager.messages[0].text,
                 QStringLiteral("La fecha de cumpleaños no existe: febrero tiene 29 días"));
        QCOMPARE(manager.messages[0].title, QStringLiteral("Error"));
        QCOMPARE(manager.bytes(), std::string());
        // Once another day is chosen, the 31st is no longer offered.
        days->setCurrentIndex(27);
        QCOMPARE(days->count(), 29);
        clickAceptar(form);
        QCOMPARE(manager.bytes(), fileOf({recordLine({"Ana", "", "", "28/02", "", "", "", ""})}));
    }

    // Alt and the underlined letter of a caption reach its control, as on other desktops; no two
    // captions or buttons share a letter.
    void altAndTheUnderlinedLetterReachEachControl()
    {
        ManagerHarness manager("");
        auto* form = manager.openDialog("mnuadd");
        QTRY_COMPARE(QApplication::activeWindow(), form);
        QString letters;
        for (const QLabel* label : form->findChildren<QLabel*>()) {
            if (!label->buddy())
                continue;
            const QString caption = label->text();
            const qsizetype mark = caption.indexOf(QLatin1Char('&'));
            QVERIFY2(mark >= 0, qPrintable(caption));
            const QChar letter = caption.at(mark + 1).toUpper();
            letters += letter;
            QTest::keyClick(form, Qt::Key(letter.unicode()), Qt::AltModifier);
            QCOMPARE(QApplication::focusWidget(), label->buddy());
        }
        for (const QPushButton* button : {form->acceptButton(), form->cancelButton()})
            letters += button->text().at(button->text().indexOf(QLatin1Char('&')) + 1).toUpper();
        QCOMPARE(QSet<QChar>(letters.begin(), letters.end()).size(), letters.size());
        QCOMPARE(letters.size(), 11);
        QTest::keyClick(form, Qt::Key_C, Qt::AltModifier);
        QTRY_VERIFY(!manager.isOpen<ContactDialog>());
    }

    void addingAppendsTheRecordAfterEveryStoredLine_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<bool>("staleCopy");

        const std::string added = recordLine(
            {"Beto", "Bet", "30", "05/03", "555 12", "Calle Mayor 1", "beto@correo.es", "Primo"});
        const std::string carla = line("Carla", "07/12", "de Carla");
        const std::string ana = line("Ana", "5/3");
        QTest::newRow("an empty file") << QByteArray() << bytesOf(fileOf({added})) << false;
        QTest::newRow("three lines keep their order")
            << bytesOf(fileOf({carla, ana, line("Bruno")}))
            << bytesOf(fileOf({carla, ana, line("Bruno"), added})) << false;
        QTest::newRow("a last line without its line end gets one")
            << bytesOf(carla + "\r\n" + ana) << bytesOf(fileOf({carla, ana, added})) << false;
        QTest::newRow("a stale temporary copy is not copied in")
            << bytesOf(fileOf({carla})) << bytesOf(fileOf({carla, added})) << true;
    }

    void addingAppendsTheRecordAfterEveryStoredLine()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QByteArray, expected);
        QFETCH(bool, staleCopy);

        ManagerHarness manager(stored.toStdString());
        if (staleCopy)
            writeBytes(manager.dir() / "data2.tvl", fileOf({line("Fantasma")}));
        const QString noteBefore = manager.window().note();
        auto* form = manager.openDialog("mnuadd");
        fillForm(form, {"Beto", "Bet", "30", "555 12", "Calle Mayor 1", "beto@correo.es", "Primo"},
                 4, 2);
        clickAceptar(form);

        QCOMPARE(manager.bytes(), expected.toStdString());
        QVERIFY(!manager.exists("data2.tvl"));
        QVERIFY(!manager.isOpen<ContactDialog>());
        QVERIFY(manager.window().isEnabled());
        QStringList sorted = manager.names();
        sorted.sort(Qt::CaseInsensitive);
        QCOMPARE(manager.names(), sorted);
        const int row = manager.positionOf("Beto");
        QCOMPARE(manager.row(row), (QStringList{"Beto", "Bet", "30", "05/03", "555 12",
                                                "Calle Mayor 1", "beto@correo.es"}));
        if (stored.isEmpty()) {
            // The first contact is selected, its note shown and the commands usable on it.
            QCOMPARE(manager.window().note(), QStringLiteral("Primo"));
            QCOMPARE(manager.window().selectedRow(), std::optional<int>(0));
            QVERIFY(manager.commandsEnabled());
        } else {
            QCOMPARE(manager.window().note(), noteBefore);
        }
        QCOMPARE(manager.countCaption(),
                 QStringLiteral("Cantidad De Contactos : %1").arg(manager.names().size()));
    }

    void theCountGoesFromNineToTen()
    {
        std::vector<std::string> lines;
        for (int i = 1; i <= 9; ++i)
            lines.push_back(line(QStringLiteral("Contacto %1").arg(i)));
        ManagerHarness manager(fileOf(lines));
        auto* form = manager.openDialog("mnuadd");
        fillForm(form, {"Décimo"}, 0, 0);
        clickAceptar(form);
        QCOMPARE(manager.countCaption(), QStringLiteral("Cantidad De Contactos : 10"));
        QCOMPARE(manager.window().findChild<QLabel*>("lblcant")->text(), QStringLiteral("10"));
    }

    void theBirthdayIsStoredAsTwoDigitDayAndMonth_data()
    {
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("month");
        QTest::addColumn<QString>("stored");
        QTest::newRow("7 July") << 6 << 6 << "07/07";
        QTest::newRow("29 February") << 28 << 1 << "29/02";
        QTest::newRow("1 December") << 0 << 11 << "01/12";
    }

    void theBirthdayIsStoredAsTwoDigitDayAndMonth()
    {
        QFETCH(int, day);
        QFETCH(int, month);
        QFETCH(QString, stored);
        ManagerHarness manager("");
        auto* form = manager.openDialog("mnuadd");
        fillForm(form, {"Ana", "", "treinta"}, day, month);
        clickAceptar(form);
        QCOMPARE(
            manager.bytes(),
            fileOf({recordLine({"Ana", "", "treinta", stored.toStdString(), "", "", "", ""})}));
    }

    // The age typed is the contact's current one: its last birthday before today is marked as
    // counted, so that the reminder's catch-up of days it did not run leaves it alone. Today's
    // birthday is still the reminder's to count.
    void theAgeTypedCountsTheBirthdaysBeforeToday_data()
    {
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("lastYear"); // the year of the last birthday before today
        QTest::newRow("5 December, three days ago") << 4 << 2026;
        QTest::newRow("8 December, today") << 7 << 2025;
    }

    void theAgeTypedCountsTheBirthdaysBeforeToday()
    {
        using namespace std::chrono;
        QFETCH(int, day);
        QFETCH(int, lastYear);
        const year_month_day today = 2026y / December / 8d;
        ManagerHarness manager("", [today] { return today; });
        auto* form = manager.openDialog("mnuadd");
        fillForm(form, {"Ana", "Anita", "31"}, day, 11);
        clickAceptar(form);
        const auto marked = [&](year_month_day date) {
            return std::filesystem::exists(manager.dir() /
                                           contacts::birthdayMarkerName(date, "Ana", "Anita"));
        };
        const unsigned dayNumber = static_cast<unsigned>(day) + 1;
        QVERIFY(marked(year_month_day{year{lastYear}, December, std::chrono::day{dayNumber}}));
        QVERIFY(!marked(today));
    }

    void aContactFileRemovedMeanwhileIsCreatedWithTheNewLine()
    {
        ManagerHarness manager(fileOf({line("Ana")}));
        std::filesystem::remove(manager.file());
        auto* form = manager.openDialog("mnuadd");
        fillForm(form, {"Luis"}, 0, 0);
        clickAceptar(form);
        QCOMPARE(manager.bytes(), fileOf({line("Luis")}));
        // The list shows what the file holds.
        QCOMPARE(manager.names(), QStringList{"Luis"});
    }

    void aFailedStoreIsReportedAndChangesNothing()
    {
        const std::string stored = fileOf({line("Ana", "01/01", "de Ana")});
        ManagerHarness manager(stored);
        // A directory where the temporary copy must go makes the rewrite fail.
        std::filesystem::create_directory(manager.dir() / "data2.tvl");
        auto* form = manager.openDialog("mnuadd");
        fillForm(form, {"Luis"}, 0, 0);
        clickAceptar(form);

        QCOMPARE(manager.messages.size(), 1);
        QCOMPARE(manager.messages[0].icon, QMessageBox::Critical);
        QVERIFY(manager.messages[0].text.contains("data.tvl"));
        QCOMPARE(manager.bytes(), stored);
        QCOMPARE(manager.names(), QStringList{"Ana"});
        QCOMPARE(manager.countCaption(), QStringLiteral("Cantidad De Contactos : 1"));
        QVERIFY(manager.isOpen<ContactDialog>());
        QCOMPARE(text(form, 0), QStringLiteral("Luis"));
    }

    void charactersTheFileCannotHoldNeverReachIt()
    {
        ManagerHarness manager("");
        auto* form = manager.openDialog("mnuadd");
        typeInto(input(form, 0), QStringLiteral("A§na"));
        typeInto(input(form, 1), QStringLiteral("→Ani\u0142"));
        typeInto(input(form, 2), QStringLiteral("3\n0"));
        QCOMPARE(text(form, 0), QStringLiteral("Ana"));
        QCOMPARE(text(form, 1), QStringLiteral("Ani"));
        QCOMPARE(text(form, 2), QStringLiteral("30"));

        auto* note = qobject_cast<QPlainTextEdit*>(input(form, 7));
        typeInto(note, QStringLiteral("uno"));
        QApplication::clipboard()->setText(QStringLiteral("\r\ndos\ntres§"));
        note->paste(); // refused whole: it holds a terminator
        QApplication::clipboard()->setText(QStringLiteral("\r\ndos\ntres\u00a0€"));
        note->paste();
        QCOMPARE(text(form, 7), QStringLiteral("uno dos tres\u00a0€"));

        form->dayList()->setCurrentIndex(0);
        form->monthList()->setCurrentIndex(0);
        clickAceptar(form);
        QCOMPARE(
            manager.bytes(),
            fileOf({recordLine({"Ana", "Ani", "30", "01/01", "", "", "", "uno dos tres\u00a0€"})}));
    }

    // A refusal offers the text as an import would store it, for the user to take or not.
    void theRefusalOffersTheTextAsTheFileCanHoldIt_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<bool>("paste");
        QTest::addColumn<QString>("refused");
        QTest::addColumn<QString>("offer");
        QTest::newRow("a name pasted") << 0 << true << "Łukasz Wiśniewski"
                                       << " ¿Quiere decir «Lukasz Wisniewski»?";
        QTest::newRow("a letter typed") << 1 << false << "ł"
                                        << " ¿Quiere decir «l»?";
        QTest::newRow("a note pasted, its line break a blank") << 7 << true << "Dvořák\n§ 1"
                                                               << " ¿Quiere decir «Dvorák ¶ 1»?";
        QTest::newRow("nothing to offer") << 0 << true << "😀"
                                          << "";
    }

    void theRefusalOffersTheTextAsTheFileCanHoldIt()
    {
        QFETCH(int, field);
        QFETCH(bool, paste);
        QFETCH(QString, refused);
        QFETCH(QString, offer);
        ManagerHarness manager("");
        auto* form = manager.openDialog("mnuadd");
        QWidget* target = input(form, field);
        target->setFocus();
        if (paste) {
            QApplication::clipboard()->setText(refused);
            QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
        } else {
            typeInto(target, refused);
        }
        QCOMPARE(text(form, field), QString());
        QVERIFY2(QToolTip::text().startsWith("Ese carácter no se puede guardar"),
                 qPrintable(QToolTip::text()));
        QVERIFY2(QToolTip::text().endsWith(".") == offer.isEmpty() &&
                     QToolTip::text().endsWith(offer),
                 qPrintable(QToolTip::text()));
    }

    // Control characters are refused as every other character the file cannot hold, but the
    // tab is text; and the keys whose text is a control character still edit.
    void controlCharactersAreRefusedAndEditingKeysStillWork()
    {
        ManagerHarness manager("");
        auto* form = manager.openDialog("mnuadd");
        auto* name = qobject_cast<QLineEdit*>(input(form, 0));
        typeInto(name, QStringLiteral("Ana"));
        QApplication::clipboard()->setText(QStringLiteral("\x1b[31mRoja"));
        name->paste();
        QCOMPARE(text(form, 0), QStringLiteral("Ana"));

        auto* note = qobject_cast<QPlainTextEdit*>(input(form, 7));
        note->setFocus();
        QApplication::clipboard()->setText(QStringLiteral("uno\tdos"));
        note->paste();
        QApplication::clipboard()->setText(QStringLiteral("tres\x7f"));
        note->paste();
        QCOMPARE(text(form, 7), QStringLiteral("uno\tdos"));
        QTest::keyClick(note, Qt::Key_Backspace); // its text is "\b"
        QCOMPARE(text(form, 7), QStringLiteral("uno\tdo"));
        QKeyEvent selectAll(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier,
                            QStringLiteral("\x01"));
        QApplication::sendEvent(note, &selectAll);
        typeInto(note, QStringLiteral("x"));
        QCOMPARE(text(form, 7), QStringLiteral("x"));
    }

    // The note is one field of one line: Enter is a blank there, as a pasted line break is, so
    // that the words typed on both sides stay apart.
    void enterInTheNoteTypesABlank()
    {
        ManagerHarness manager("");
        auto* form = manager.openDialog("mnuadd");
        QWidget* note = input(form, 7);
        note->setFocus();
        QTest::keyClicks(note, QStringLiteral("uno"));
        QTest::keyClick(note, Qt::Key_Return);
        QTest::keyClicks(note, QStringLiteral("dos"));
        QTest::keyClick(note, Qt::Key_Enter);
        QCOMPARE(text(form, 7), QStringLiteral("uno dos "));
        QVERIFY(form->isVisible());
        QVERIFY(manager.messages.isEmpty());
    }

    void textSetAroundTheInputsIsRefusedOnAceptar()
    {
        ManagerHarness manager("");
        auto* form = manager.openDialog("mnuadd");
        QTRY_COMPARE(QApplication::activeWindow(), form);
        fillForm(form, {"Ana"}, 0, 0);
        setText(form, 5, QStringLiteral("Calle → 1"));
        clickAceptar(form);
        QCOMPARE(manager.messages.size(), 1);
        QCOMPARE(manager.messages[0].text,
                 QStringLiteral("El carácter «→» (U+2192) no se puede guardar en el archivo de "
                                "contactos. ¿Quiere decir «Calle -> 1»?"));
        QCOMPARE(manager.bytes(), std::string());
        QVERIFY(manager.isOpen<ContactDialog>());
        QCOMPARE(QApplication::focusWidget(), input(form, 5));
    }

    // Enter presses the button that has the focus and nothing else.
    void enterActsOnTheFocusedButtonOnly()
    {
        ManagerHarness manager("");
        auto* form = manager.openDialog("mnuadd");
        fillForm(form, {"Ana"}, 0, 0);
        QTest::keyClick(input(form, 0), Qt::Key_Return);
        QVERIFY(form->isVisible());
        QCOMPARE(manager.bytes(), std::string());
        form->acceptButton()->setFocus();
        QTest::keyClick(form->acceptButton(), Qt::Key_Return);
        QVERIFY(!manager.isOpen<ContactDialog>());
        QCOMPARE(manager.names(), QStringList{"Ana"});
    }

    void cancellingStoresNothingAndFreesTheMainWindow_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Cancelar") << false;
        QTest::newRow("the close box") << true;
    }

    void cancellingStoresNothingAndFreesTheMainWindow()
    {
        QFETCH(bool, closeBox);
        const std::string stored = fileOf({line("Ana")});
        ManagerHarness manager(stored);
        auto* form = manager.openDialog("mnuadd");
        QVERIFY(!manager.window().isEnabled());
        QVERIFY(form->isEnabled());
        fillForm(form, {"Luis"}, 0, 0);
        if (closeBox)
            form->close();
        else
            QTest::mouseClick(form->cancelButton(), Qt::LeftButton);
        QVERIFY(manager.window().isEnabled());
        QVERIFY(!manager.isOpen<ContactDialog>());
        QCOMPARE(manager.bytes(), stored);
        QCOMPARE(manager.names(), QStringList{"Ana"});
        QVERIFY(manager.messages.isEmpty());
    }
};

QTEST_MAIN(AddContactTest)
#include "AddContactTest.moc"
