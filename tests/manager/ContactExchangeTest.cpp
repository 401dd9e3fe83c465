#include "contacts/BirthdayMarkers.h"
#include "exchange/VCardReader.h"
#include "manager/ContactListModel.h"
#include "manager/ImportCardList.h"
#include "manager/ImportPreview.h"
#include "manager/ImportPreviewModel.h"
#include "platform/gui/FileDialog.h"
#include "platform/gui/ShownText.h"
#include "tests/manager/ManagerHarness.h"
#include "tests/support/FileText.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QtTest>

using namespace manager;

using namespace std::chrono;

namespace {

const year_month_day kToday = 2026y / December / 8d;

year_month_day fixedToday()
{
    return kToday;
}

} // namespace

// "Importar contactos...", "Exportar contactos..." and "Exportar cumpleaños..." on the real
// windows, with the file dialogs answered by a path.
class ContactExchangeTest : public QObject {
    Q_OBJECT

    static std::string line(const char* name, const char* age = "30", const char* note = "")
    {
        return recordLine({name, "", age, "05/03", "", "", "", note});
    }
    static std::string card(const std::string& name, const std::string& more = "BDAY:1990-03-05")
    {
        return "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" + name + "\r\n" + more + "\r\nEND:VCARD\r\n";
    }

    // Every file dialog answers `path` (empty: cancelled) and records its title.
    struct FileDialogs {
        explicit FileDialogs(const std::filesystem::path& path)
        {
            platform::setFileChoiceHook([this, path](const platform::FileRequest& request) {
                titles << request.title;
                return QString::fromStdString(path.string());
            });
        }
        ~FileDialogs() { platform::setFileChoiceHook({}); }
        QStringList titles;
    };

    // Opens the preview of a .vcf holding `vcf`.
    static ImportPreview* preview(ManagerHarness& manager, const std::string& vcf)
    {
        writeBytes(manager.dir() / "tarjetas.vcf", vcf);
        FileDialogs dialogs(manager.dir() / "tarjetas.vcf");
        manager.action("mnuimportar")->trigger();
        return manager.window().findChild<ImportPreview*>();
    }

    static QString cell(ImportPreview* preview, int row, int column)
    {
        return preview->model()->index(row, column).data().toString();
    }

private slots:
    void theExportsNeedAContact()
    {
        ManagerHarness manager("", fixedToday);
        QVERIFY(manager.action("mnuimportar")->isEnabled());
        QVERIFY(!manager.action("mnuexportar")->isEnabled());
        QVERIFY(!manager.action("mnuexportarcumple")->isEnabled());
        auto* form = manager.openDialog("mnuadd");
        fillForm(form, {"Ana"}, 4, 2);
        clickAceptar(form);
        QVERIFY(manager.action("mnuexportar")->isEnabled());
        QVERIFY(manager.action("mnuexportarcumple")->isEnabled());
        manager.action("mnudel")->trigger();
        QCOMPARE(manager.window().contactCount(), 0);
        QVERIFY(!manager.action("mnuexportar")->isEnabled());
        QVERIFY(!manager.action("mnuexportarcumple")->isEnabled());
        QVERIFY(manager.commandsEnabled() == false);
    }

    void thePreviewShowsEachCardWithItsMarkAndWhy()
    {
        const std::string stored = fileOf({line("Ana", "treinta", "Prima"), line("Bea")});
        ManagerHarness manager(stored, fixedToday);
        ImportPreview* shown =
            preview(manager, card("Dora", "BDAY:1990-03-05\r\nNOTE:una\\ndos") + card("ANA") +
                                 card("Eva", "TEL:1") + card("dora", "BDAY:--07-01") +
                                 card("Łukasz") + card("😀"));
        QVERIFY(shown && shown->isVisible());
        QCOMPARE(shown->windowTitle(), QStringLiteral("Importar contactos"));
        QVERIFY(!manager.window().isEnabled());
        QCOMPARE(shown->findChild<QLabel*>("lblimportar")->text(),
                 QStringLiteral("«tarjetas.vcf»: 6 tarjetas. Marque los contactos que quiere "
                                "guardar."));
        // The cards that can be imported first, then the others, each in the file's order.
        const QStringList names{"Dora", "Ana", "dora", "Łukasz → Lukasz", "Eva", "😀"};
        const QStringList marks{"Nuevo", "Ya guardado",          "Repetido en el archivo",
                                "Nuevo", "No se puede importar", "No se puede importar"};
        for (int row = 0; row < marks.size(); ++row) {
            QCOMPARE(cell(shown, row, ImportPreviewModel::FirstField), names[row]);
            QCOMPARE(cell(shown, row, ImportPreviewModel::Mark), marks[row]);
        }
        // What would be stored: the age from the year, the note on one line, and for the name
        // already stored its own name and the values the card lacks.
        QCOMPARE(cell(shown, 0, ImportPreviewModel::FirstField + 2), QStringLiteral("36"));
        QCOMPARE(cell(shown, 0, ImportPreviewModel::FirstField + 7), QStringLiteral("una dos"));
        QVERIFY(shown->model()->remarks(0).contains("saltos de línea"));
        QCOMPARE(cell(shown, 1, ImportPreviewModel::FirstField + 7), QStringLiteral("Prima"));
        QVERIFY(shown->model()->remarks(3).contains("«Łukasz» se guarda como «Lukasz»"));
        QVERIFY(shown->model()->remarks(5).contains("«😀»"));
        // The line below the list tells the remarks of the card under the cursor.
        QTRY_COMPARE(shown->list()->currentIndex().row(), 0);
        for (int down = 0; down < 4; ++down)
            QTest::keyClick(shown->list(), Qt::Key_Down);
        QCOMPARE(
            shown->remarks()->text(),
            QStringLiteral("Observaciones: No tiene fecha de cumpleaños, que es obligatoria."));
        // Space checks the card under the cursor, as a click on its box does.
        for (int up = 0; up < 3; ++up)
            QTest::keyClick(shown->list(), Qt::Key_Up);
        QTest::keyClick(shown->list(), Qt::Key_Space);
        QCOMPARE(shown->model()->isChosen(1), true);
        QTest::keyClick(shown->list(), Qt::Key_Space);
        QCOMPARE(shown->model()->isChosen(1), false);

        // New cards are chosen, the stored name waits for the user, a repeated name waits for
        // the user to prefer it, the others cannot be.
        ImportPreviewModel* model = shown->model();
        const auto checkState = [&](int row) {
            return model->index(row, ImportPreviewModel::Mark).data(Qt::CheckStateRole);
        };
        const QList<Qt::CheckState> states{Qt::Checked, Qt::Unchecked, Qt::Unchecked, Qt::Checked};
        for (int row = 0; row < states.size(); ++row)
            QCOMPARE(checkState(row).value<Qt::CheckState>(), states[row]);
        for (int row : {4, 5}) {
            QVERIFY(!checkState(row).isValid());
            QVERIFY(!model->setData(model->index(row, 0), Qt::Checked, Qt::CheckStateRole));
            QVERIFY(!(model->flags(model->index(row, 0)) & Qt::ItemIsUserCheckable));
        }
        QCOMPARE(shown->summary()->text(),
                 QStringLiteral("Se guardarán 2 contactos nuevos. 2 tarjetas no se pueden "
                                "importar: van al final, con el motivo."));
        // Of the cards of one name only one is imported: choosing the later leaves the first.
        QVERIFY(model->setData(model->index(2, 0), Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(checkState(0).value<Qt::CheckState>(), Qt::Unchecked);
        QCOMPARE(checkState(2).value<Qt::CheckState>(), Qt::Checked);
        QCOMPARE(model->chosenRows(), (std::vector<std::size_t>{3, 4}));

        QCOMPARE(shown->updateBox()->checkState(), Qt::Unchecked);
        shown->updateBox()->click();
        QCOMPARE(checkState(1).value<Qt::CheckState>(), Qt::Checked);
        QVERIFY(shown->summary()->text().startsWith(
            "Se guardarán 2 contactos nuevos y se actualizará 1 ya guardado."));
        for (int row : {1, 2, 3})
            model->setData(model->index(row, 0), Qt::Unchecked, Qt::CheckStateRole);
        QCOMPARE(shown->updateBox()->checkState(), Qt::Unchecked);
        QVERIFY(!shown->importButton()->isEnabled());
        QCOMPARE(manager.bytes(), stored);
    }

    // A name the contact file cannot hold is stored transliterated, and the file is read in the
    // encoding Windows programs export.
    void aTransliteratedNameIsImportedFromAUtf16File()
    {
        ManagerHarness manager("", fixedToday);
        std::u16string text = u"\uFEFF";
        for (const char16_t* name : {u"Łukasz Wiśniewski", u"Москва"})
            text += u"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" + std::u16string(name) +
                    u"\r\nNOTE:Dijo \\\"sí\\\" § 3\r\nBDAY:--07-01\r\nEND:VCARD\r\n";
        std::string bytes;
        for (const char16_t unit : text)
            bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        ImportPreview* shown = preview(manager, bytes);
        QVERIFY(shown);
        QCOMPARE(cell(shown, 0, ImportPreviewModel::Mark), QStringLiteral("Nuevo"));
        shown->importButton()->click();
        QCOMPARE(manager.bytes(),
                 fileOf({recordLine(
                             {"Lukasz Wisniewski", "", "", "01/07", "", "", "", "Dijo \"sí\" ¶ 3"}),
                         recordLine({"Moskva", "", "", "01/07", "", "", "", "Dijo \"sí\" ¶ 3"})}));
    }

    void importWritesTheChosenContactsInOneRewrite()
    {
        const std::string carla = line("Carla");
        ManagerHarness manager(fileOf({line("Ana", "treinta", "Prima"), carla}), fixedToday);
        ImportPreview* shown = preview(manager, card("Dora", "BDAY:--07-01") + card("ana") +
                                                    card("Bruno", "BDAY:19851224"));
        QVERIFY(shown);
        shown->updateBox()->click();
        QSignalSpy rewrites(manager.window().contactList(), &QAbstractItemModel::rowsInserted);
        QTest::mouseClick(shown->importButton(), Qt::LeftButton);

        QVERIFY(!manager.isOpen<ImportPreview>());
        QVERIFY(manager.window().isEnabled());
        QVERIFY(manager.messages.isEmpty());
        // The update first, then the new contacts in the file's order, as the last lines.
        QCOMPARE(manager.bytes(),
                 fileOf({carla, line("Ana", "36", "Prima"),
                         recordLine({"Dora", "", "", "01/07", "", "", "", ""}),
                         recordLine({"Bruno", "", "40", "24/12", "", "", "", ""})}));
        QCOMPARE(manager.names(), (QStringList{"Ana", "Bruno", "Carla", "Dora"}));
        QCOMPARE(manager.countCaption(), QStringLiteral("Cantidad De Contactos : 4"));
        // The first imported contact in the list is selected.
        QCOMPARE(manager.window().selectedRow(), std::optional<int>(0));
        QCOMPARE(rewrites.count(), 1);
        QVERIFY(!manager.exists("data2.tvl"));
    }

    // A card's value may be as long as its file: the preview shows its start, and the import
    // stores it whole.
    void aLongCardIsShownInPartAndImportedWhole()
    {
        const std::string name = "Dora " + longText(20'000);
        const std::string note = longText(50'000);
        ManagerHarness manager("", fixedToday);
        ImportPreview* shown = preview(manager, card(name, "BDAY:--07-01\r\nNOTE:" + note));
        QVERIFY(shown);
        QCOMPARE(cell(shown, 0, ImportPreviewModel::FirstField),
                 QString::fromUtf8(name).left(platform::kShownInRow) + QChar(u'…'));
        shown->importButton()->click();
        QCOMPARE(manager.bytes(), fileOf({recordLine({name, "", "", "01/07", "", "", "", note})}));
        QCOMPARE(manager.window().note(), QString::fromUtf8(note));
    }

    void cancelWritesNothing()
    {
        const std::string stored = fileOf({line("Ana")});
        ManagerHarness manager(stored, fixedToday);
        ImportPreview* shown = preview(manager, card("Dora"));
        QVERIFY(shown);
        QTest::mouseClick(shown->cancelButton(), Qt::LeftButton);
        QVERIFY(!manager.isOpen<ImportPreview>());
        QVERIFY(manager.window().isEnabled());
        QCOMPARE(manager.bytes(), stored);
        QCOMPARE(manager.names(), QStringList{"Ana"});

        // A file dialog left without a file does nothing at all.
        FileDialogs cancelled("");
        manager.action("mnuimportar")->trigger();
        manager.action("mnuexportar")->trigger();
        QCOMPARE(cancelled.titles, (QStringList{"Importar contactos", "Exportar contactos"}));
        QVERIFY(!manager.isOpen<ImportPreview>());
        QVERIFY(manager.messages.isEmpty());
    }

    void aFileThatIsNoVCardIsRefusedWithAMessage_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("not a vCard") << QByteArray("Nombre;Cumple\r\nAna;05/03\r\n");
        QTest::newRow("a card without END")
            << QByteArray::fromStdString(card("Ana").substr(0, card("Ana").find("END")));
        QTest::newRow("binary junk") << QByteArray("\x7F"
                                                   "ELF\x02\x01\x01\0\0\0BEGIN:VCARD",
                                                   20);
        QTest::newRow("an empty file") << QByteArray();
    }

    void aFileThatIsNoVCardIsRefusedWithAMessage()
    {
        QFETCH(QByteArray, content);
        const std::string stored = fileOf({line("Ana")});
        ManagerHarness manager(stored, fixedToday);
        QVERIFY(!preview(manager, content.toStdString()));
        QCOMPARE(manager.messages.size(), 1);
        QCOMPARE(manager.messages[0].icon, QMessageBox::Warning);
        QVERIFY(manager.messages[0].text.contains("tarjetas.vcf"));
        QVERIFY(manager.messages[0].text.endsWith("No se ha cambiado nada."));
        QVERIFY(manager.window().isEnabled());
        QCOMPARE(manager.bytes(), stored);
    }

    void aFailedWriteKeepsThePreviewToTryAgain()
    {
        const std::string stored = fileOf({line("Ana")});
        ManagerHarness manager(stored, fixedToday);
        ImportPreview* shown = preview(manager, card("Dora"));
        QVERIFY(shown);
        // A directory where the rewrite's temporary file must go makes it fail.
        std::filesystem::create_directory(manager.dir() / "data2.tvl");
        shown->importButton()->click();
        QCOMPARE(manager.messages.size(), 1);
        QVERIFY(manager.messages[0].text.startsWith("No se pudieron importar los contactos."));
        QVERIFY(manager.isOpen<ImportPreview>());
        QCOMPARE(manager.bytes(), stored);
        QCOMPARE(manager.names(), QStringList{"Ana"});

        std::filesystem::remove(manager.dir() / "data2.tvl");
        shown->importButton()->click();
        QVERIFY(!manager.isOpen<ImportPreview>());
        QCOMPARE(manager.names(), (QStringList{"Ana", "Dora"}));
    }

    void aNameStoredMeanwhileRefusesTheWholeImport()
    {
        ManagerHarness manager(fileOf({line("Ana")}), fixedToday);
        ImportPreview* shown = preview(manager, card("Bea") + card("Dora"));
        QVERIFY(shown);
        const std::string meanwhile = fileOf({line("Ana"), line("dora", "50")});
        writeBytes(manager.file(), meanwhile);
        shown->importButton()->click();
        QCOMPARE(manager.messages.size(), 1);
        QVERIFY(manager.messages[0].text.contains("No se ha importado nada."));
        QVERIFY(!manager.isOpen<ImportPreview>());
        QCOMPARE(manager.bytes(), meanwhile);
        QCOMPARE(manager.names(), (QStringList{"Ana", "dora"}));
    }

    // Imported on the birthday with the year of birth, the age counts today's birthday already:
    // the marker keeps the reminder from advancing it again today.
    void anAgeFromTodaysBirthdayIsMarkedAsCounted()
    {
        const year_month_day today = 2026y / March / 5d;
        ManagerHarness manager("", [today] { return today; });
        ImportPreview* shown = preview(manager, card("Dora", "BDAY:1990-03-05") + card("Eva"));
        QVERIFY(shown);
        shown->importButton()->click();
        QCOMPARE(manager.bytes(), fileOf({line("Dora", "36"), line("Eva", "36")}));
        QVERIFY(
            contacts::markerFileExists(manager.dir(), contacts::birthdayMarker(today, "Dora", "")));
        QVERIFY(
            contacts::markerFileExists(manager.dir(), contacts::birthdayMarker(today, "Eva", "")));
    }

    void theExportsReplaceTheChosenFileWhole()
    {
        ManagerHarness manager(fileOf({line("Ana", "30", "Prima"),
                                       recordLine({"Bea", "", "", "31/02", "", "", "", ""})}),
                               fixedToday);
        const std::filesystem::path vcf = manager.dir() / "contactos.vcf";
        writeBytes(vcf, std::string(100'000, 'x'));
        {
            FileDialogs dialogs(vcf);
            manager.action("mnuexportar")->trigger();
        }
        const exchange::VCardFile read = exchange::readVCardFile(vcf);
        QCOMPARE(read.error, std::string());
        QCOMPARE(read.cards.size(), size_t(2));
        QCOMPARE(manager.messages.size(), 0);

        const std::filesystem::path ics = manager.dir() / "cumpleaños.ics";
        {
            FileDialogs dialogs(ics);
            manager.action("mnuexportarcumple")->trigger();
        }
        const std::string calendar = readBytes(ics);
        QVERIFY(calendar.starts_with("BEGIN:VCALENDAR\r\n"));
        QVERIFY(calendar.find("SUMMARY:Cumpleaños de Ana\r\n") != std::string::npos);
        QVERIFY(calendar.find("Bea") == std::string::npos);
        // The contact without a day of the calendar is named.
        QCOMPARE(manager.messages.size(), 1);
        QVERIFY(manager.messages[0].text.endsWith("\n\nBea"));
        QVERIFY(!std::filesystem::exists(manager.dir() / "data.tvl.journal"));
    }

    void aFailedExportSaysSoAndLeavesNothing()
    {
        ManagerHarness manager(fileOf({line("Ana")}), fixedToday);
        const std::filesystem::path target = manager.dir() / "falta" / "contactos.vcf";
        FileDialogs dialogs(target);
        manager.action("mnuexportar")->trigger();
        QCOMPARE(manager.messages.size(), 1);
        QCOMPARE(manager.messages[0].icon, QMessageBox::Critical);
        QVERIFY(manager.messages[0].text.startsWith("No se pudo escribir el archivo\n" +
                                                    QString::fromStdString(target.string())));
        // The reason reads in Spanish, whatever the desktop's language.
        QVERIFY2(manager.messages[0].text.contains("El archivo o la carpeta no existe (ENOENT)"),
                 qPrintable(manager.messages[0].text));
        QVERIFY(!std::filesystem::exists(manager.dir() / "falta"));
    }
};

QTEST_MAIN(ContactExchangeTest)
#include "ContactExchangeTest.moc"
