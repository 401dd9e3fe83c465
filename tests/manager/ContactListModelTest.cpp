#include "ContactListModel.h"

#include "FileText.h"

#include <QPersistentModelIndex>
#include <QtTest>
#include <algorithm>

// The list sorts the few rows a command appended into the sorted ones instead of sorting all
// rows again; the outcome must be the full sort's, persistent indexes included.
class ContactListModelTest : public QObject {
    Q_OBJECT

    // Names that collate with accents, capitals and equal names; the alias tells equal names
    // apart, so that their order shows.
    using NameAndAlias = std::pair<std::string, std::string>; // UTF-8

    static std::vector<NameAndAlias> baseRows()
    {
        std::vector<NameAndAlias> rows;
        const char* stems[] = {"Ana", "ángel", "Bruno", "carla", "Ñoño", "Nuria", "Óscar", "Zoe"};
        for (int round = 0; round < 5; ++round)
            for (const char* stem : stems)
                rows.push_back({stem + std::string(" ") + std::to_string(round % 2),
                                std::to_string(rows.size())});
        return rows;
    }

    static std::vector<contacts::ListFields> fieldsOf(const std::vector<NameAndAlias>& rows,
                                                      std::vector<std::string>& storage)
    {
        storage.clear();
        for (const auto& [name, alias] : rows) {
            storage.push_back(cp1252(name));
            storage.push_back(alias);
        }
        std::vector<contacts::ListFields> fields;
        for (size_t i = 0; i < rows.size(); ++i)
            fields.push_back({storage[2 * i], storage[2 * i + 1], "", "", "", "", ""});
        return fields;
    }

    static QStringList order(const ContactListModel& model)
    {
        QStringList rows;
        for (int i = 0; i < model.rowCount(); ++i)
            rows << model.cell(i, 0) + "|" + model.cell(i, 1);
        return rows;
    }

private slots:
    void appendedRowsLandWhereAFullSortPutsThem_data()
    {
        QTest::addColumn<QStringList>("appended");
        QTest::addColumn<int>("removedFirst");
        QTest::newRow("one new name") << QStringList{"Beto"} << -1;
        QTest::newRow("a name equal to stored ones goes after them") << QStringList{"Ana 0"} << -1;
        QTest::newRow("accents and capitals") << QStringList{"álvaro", "ÑANDÚ", "oscar"} << -1;
        QTest::newRow("before everything and after everything") << QStringList{"aa", "zz"} << -1;
        QTest::newRow("after a removal") << QStringList{"Carlos"} << 3;
    }

    void appendedRowsLandWhereAFullSortPutsThem()
    {
        QFETCH(QStringList, appended);
        QFETCH(int, removedFirst);
        std::vector<NameAndAlias> rows = baseRows();
        std::vector<std::string> storage;

        ContactListModel incremental;
        incremental.setRows(fieldsOf(rows, storage));
        incremental.sortByName();
        if (removedFirst >= 0) {
            const NameAndAlias gone{incremental.cell(removedFirst, 0).toStdString(),
                                    incremental.cell(removedFirst, 1).toStdString()};
            incremental.removeRowAt(removedFirst);
            rows.erase(std::find(rows.begin(), rows.end(), gone));
        }
        const QPersistentModelIndex watched = incremental.index(7, 0);
        const QString watchedName = incremental.cell(7, 0);
        for (const QString& name : appended) {
            const QString alias = QStringLiteral("nueva %1").arg(rows.size());
            incremental.appendRow({name, alias, "", "", "", "", ""});
            rows.push_back({name.toStdString(), alias.toStdString()});
        }
        incremental.sortByName();

        ContactListModel full;
        full.setRows(fieldsOf(rows, storage));
        full.sortByName();
        QCOMPARE(order(incremental), order(full));
        QCOMPARE(incremental.cell(watched.row(), 0), watchedName);
    }
};

QTEST_MAIN(ContactListModelTest)
#include "ContactListModelTest.moc"
