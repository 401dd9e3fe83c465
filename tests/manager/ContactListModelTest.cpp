#include "manager/ContactListModel.h"

#include "tests/support/FileText.h"

#include <QPersistentModelIndex>
#include <QtTest>
#include <algorithm>

using namespace manager;

// The list sorts the few contacts a change added into the sorted ones instead of sorting all
// rows again, and removes one row per line that left the file; the outcome must be the full
// sort's, persistent indexes (the selection) included.
class ContactListModelTest : public QObject {
    Q_OBJECT

    // A contact named in UTF-8; the alias tells equal names apart, so that their order shows.
    static contacts::Contact contact(const std::string& name, const std::string& alias)
    {
        return *contacts::Contact::fromStoredLine(
            recordLine({name, alias, "", "1/1", "", "", "", ""}));
    }

    static std::vector<contacts::Contact> baseContacts()
    {
        std::vector<contacts::Contact> contacts;
        const char* stems[] = {"Ana", "ángel", "Bruno", "carla", "Ñoño", "Nuria", "Óscar", "Zoe"};
        for (int round = 0; round < 5; ++round)
            for (const char* stem : stems)
                contacts.push_back(contact(stem + std::string(" ") + std::to_string(round % 2),
                                           std::to_string(contacts.size())));
        return contacts;
    }

    static QStringList order(const ContactListModel& model)
    {
        QStringList rows;
        for (int i = 0; i < model.rowCount(); ++i)
            rows << model.cell(i, 0) + "|" + model.cell(i, 1);
        return rows;
    }

private slots:
    void addedContactsLandWhereAFullSortPutsThem_data()
    {
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<int>("removed"); // a row whose line left the file, or -1
        QTest::newRow("one new name") << QStringList{"Beto"} << -1;
        QTest::newRow("a name equal to stored ones goes after them") << QStringList{"Ana 0"} << -1;
        QTest::newRow("accents and capitals") << QStringList{"álvaro", "ÑANDÚ", "oscar"} << -1;
        QTest::newRow("before everything and after everything") << QStringList{"aa", "zz"} << -1;
        QTest::newRow("one replaced") << QStringList{"Carlos"} << 3;
        QTest::newRow("one removed") << QStringList{} << 12;
    }

    void addedContactsLandWhereAFullSortPutsThem()
    {
        QFETCH(QStringList, added);
        QFETCH(int, removed);
        std::vector<contacts::Contact> contacts = baseContacts();

        ContactListModel incremental;
        incremental.setContacts(contacts);
        std::vector<std::string> removedLines;
        if (removed >= 0) {
            const contacts::Contact gone = incremental.contact(removed);
            removedLines.emplace_back(gone.storedLine());
            std::erase_if(contacts, [&](const contacts::Contact& c) {
                return c.storedLine() == gone.storedLine();
            });
        }
        const int watchedRow = removed == 7 ? 8 : 7;
        const QPersistentModelIndex watched = incremental.index(watchedRow, 0);
        const QString watchedName = incremental.cell(watchedRow, 1);
        std::vector<contacts::Contact> newContacts;
        for (const QString& name : added) {
            newContacts.push_back(
                contact(name.toStdString(), "nueva " + std::to_string(contacts.size())));
            contacts.push_back(newContacts.back());
        }
        incremental.applyChange(removedLines, newContacts);

        ContactListModel full;
        full.setContacts(contacts);
        QCOMPARE(order(incremental), order(full));
        QCOMPARE(incremental.cell(watched.row(), 1), watchedName);
    }

    // Two equal lines that both left the file take both their rows; a line that left once takes
    // one row of two equal ones.
    void oneRowLeavesForEachLineThatLeft()
    {
        const contacts::Contact bea = contact("Bea", "");
        ContactListModel model;
        model.setContacts({contact("Ana", ""), bea, bea, contact("Carla", "")});
        model.applyChange({std::string(bea.storedLine())}, {});
        QCOMPARE(order(model), (QStringList{"Ana|", "Bea|", "Carla|"}));
        model.applyChange({std::string(bea.storedLine()), "no está"}, {});
        QCOMPARE(order(model), (QStringList{"Ana|", "Carla|"}));
    }
};

QTEST_MAIN(ContactListModelTest)
#include "ContactListModelTest.moc"
