#include "manager/ContactListModel.h"
#include "manager/ShownContacts.h"
#include "manager/WindowMemory.h"
#include "tests/manager/ManagerHarness.h"
#include "tests/support/FileText.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTreeView>
#include <QtTest>
#include <cstdlib>

using namespace manager;
using namespace std::chrono;

// The list as the user works it: ordered by a click on a header, searched as typed, near
// birthdays marked, and the window's size and columns remembered from one run to the next.
class ContactListViewTest : public QObject {
    Q_OBJECT

    static constexpr year_month_day kToday = 2026y / December / 30d;

    // Name, alias, age and birthday of each contact; the birthdays counted from 30 December
    // 2026: Bea today, Gil tomorrow, Félix in 2 days, Ana in 3, Carla (29/02, celebrated on
    // 28/02/2027) in 60, Eva in 364, Dora never (31/02).
    static std::string book()
    {
        const auto contact = [](const char* name, const char* alias, const char* age,
                                const char* birthday) {
            return recordLine({name, alias, age, birthday, "", "", "", ""});
        };
        return fileOf({contact("Eva", "zeta", "", "29/12"), contact("Ana", "Ñoño", "30", "02/01"),
                       contact("Carla", "nube", "100", "29/02"),
                       contact("Dora", "", "treinta", "31/02"),
                       contact("Bea", "Álvaro", "9", "30/12"), contact("Gil", "", "5", "31/12"),
                       contact("Félix", "Oso", "10", "1/1")});
    }

    static std::function<year_month_day()> fixedToday()
    {
        return [] { return kToday; };
    }

    static void clickHeader(ManagerHarness& manager, int column)
    {
        QHeaderView* header = manager.window().listView()->header();
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    }

private slots:
    // The first click orders by the column, the second the other way round. Equal values stand
    // by name and what has no value comes last, in both orders.
    void aHeaderClickOrdersTheListAndASecondReversesIt_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QStringList>("firstClick");
        QTest::addColumn<QStringList>("secondClick");
        QTest::newRow("Nombre, already in order: the first click reverses")
            << 0 << QStringList{"Gil", "Félix", "Eva", "Dora", "Carla", "Bea", "Ana"}
            << QStringList{"Ana", "Bea", "Carla", "Dora", "Eva", "Félix", "Gil"};
        QTest::newRow("Alias, as a Spanish reader orders words")
            << 1 << QStringList{"Bea", "Carla", "Ana", "Félix", "Eva", "Dora", "Gil"}
            << QStringList{"Eva", "Félix", "Ana", "Carla", "Bea", "Dora", "Gil"};
        QTest::newRow("Edad Actual, by number")
            << 2 << QStringList{"Gil", "Bea", "Félix", "Ana", "Carla", "Dora", "Eva"}
            << QStringList{"Carla", "Ana", "Félix", "Bea", "Gil", "Dora", "Eva"};
        QTest::newRow("Fecha Del Cumple, who comes next first")
            << 3 << QStringList{"Bea", "Gil", "Félix", "Ana", "Carla", "Eva", "Dora"}
            << QStringList{"Eva", "Carla", "Ana", "Félix", "Gil", "Bea", "Dora"};
    }

    void aHeaderClickOrdersTheListAndASecondReversesIt()
    {
        QFETCH(int, column);
        QFETCH(QStringList, firstClick);
        QFETCH(QStringList, secondClick);
        ManagerHarness manager(book(), fixedToday());
        manager.clickRow("Carla");
        clickHeader(manager, column);
        QCOMPARE(manager.shownNames(), firstClick);
        clickHeader(manager, column);
        QCOMPARE(manager.shownNames(), secondClick);
        // The selected contact stays selected wherever it went.
        QCOMPARE(manager.row(*manager.window().selectedRow())[0], QStringLiteral("Carla"));
        // An added contact takes its place in the order shown.
        auto* form = manager.openDialog("mnuadd");
        fillForm(form, {"Hugo", "", "200"}, 0, 0);
        clickAceptar(form);
        QCOMPARE(manager.shownNames().size(), 8);
        if (column == 2)
            QCOMPARE(manager.shownNames().first(), QStringLiteral("Hugo"));
    }

    // Typed into the box, the search keeps the contacts with every word in some field, capitals
    // and accents aside; the count still tells the whole book, and Escape shows it again.
    void theSearchShowsTheMatchingContactsAsTyped()
    {
        ManagerHarness manager(book(), fixedToday());
        MainWindow& window = manager.window();
        QLineEdit* box = window.searchBox();
        auto* matches = window.findChild<QLabel*>("lblencontrados");
        manager.clickRow("Ana");
        QVERIFY(!matches->isVisibleTo(&window));

        typeInto(box, "ÁLVARO");
        QCOMPARE(manager.shownNames(), QStringList{"Bea"});
        QCOMPARE(matches->text(), QStringLiteral("1 de 7 contactos"));
        QCOMPARE(manager.countCaption(), QStringLiteral("Cantidad De Contactos : 7"));
        // The first contact found is selected, since Ana is out of sight.
        QCOMPARE(manager.row(*window.selectedRow())[0], QStringLiteral("Bea"));
        QVERIFY(manager.commandsEnabled());

        box->clear();
        typeInto(box, "a 3");
        QCOMPARE(manager.shownNames(), (QStringList{"Ana", "Bea", "Dora"}));

        box->clear();
        typeInto(box, QStringLiteral("李"));
        QVERIFY(manager.shownNames().isEmpty());
        QCOMPARE(matches->text(), QStringLiteral("Ningún contacto coincide"));
        QVERIFY(!manager.commandsEnabled());
        QCOMPARE(window.note(), QString());

        QTest::keyClick(box, Qt::Key_Escape);
        QCOMPARE(box->text(), QString());
        QCOMPARE(manager.shownNames().size(), 7);
        QVERIFY(!matches->isVisibleTo(&window));
    }

    // Today's birthdays and those within three days are bold, and say how near they are to the
    // mouse and to screen readers.
    void nearBirthdaysAreMarkedWithTheDaysLeft_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("said"); // nothing: not marked
        QTest::newRow("today") << "Bea"
                               << "Hoy es su cumpleaños";
        QTest::newRow("tomorrow") << "Gil"
                                  << "Su cumpleaños es mañana";
        QTest::newRow("in 2 days, over the turn of the year") << "Félix"
                                                              << "Faltan 2 días para su cumpleaños";
        QTest::newRow("in 3 days") << "Ana"
                                   << "Faltan 3 días para su cumpleaños";
        QTest::newRow("yesterday's, a year away") << "Eva"
                                                  << "";
        QTest::newRow("31 February, never") << "Dora"
                                            << "";
    }

    void nearBirthdaysAreMarkedWithTheDaysLeft()
    {
        QFETCH(QString, name);
        QFETCH(QString, said);
        ManagerHarness manager(book(), fixedToday());
        const QModelIndex row = manager.window().listIndex(manager.positionOf(name));
        for (int column = 0; column < ContactListModel::kColumnCount; ++column) {
            const QModelIndex cell = row.siblingAtColumn(column);
            QCOMPARE(cell.data(Qt::FontRole).value<QFont>().bold(), !said.isEmpty());
            QCOMPARE(cell.data(Qt::AccessibleDescriptionRole).toString(), said);
            QVERIFY(cell.data(Qt::ToolTipRole).toString().startsWith(said));
        }
        // The tooltip still shows the value, after the days.
        if (!said.isEmpty())
            QCOMPARE(row.data(Qt::ToolTipRole).toString(), said + "\n" + name);
    }

    // The window comes back as the user left it: its size and each column's width, the last
    // column's without what a larger window gave it. They are kept in the user's configuration
    // folder, never beside data.tvl.
    void theWindowsSizeAndColumnsAreRemembered()
    {
        TempDir config;
        const auto memory = config.path() / "tortavela" / "Agendela.conf";
        QSize leftAt;
        QList<int> widths;
        {
            ManagerHarness manager(book(), fixedToday(), memory);
            MainWindow& window = manager.window();
            window.resize(window.size() + QSize(60, 40));
            QTRY_COMPARE(window.listView()->width(), 705 + 60);
            window.listView()->header()->resizeSection(1, 160);
            leftAt = window.size();
            for (int column = 0; column < 7; ++column)
                widths << window.listView()->columnWidth(column);
            QVERIFY(window.close());
            QVERIFY(std::filesystem::exists(memory));
            for (const auto& entry : std::filesystem::directory_iterator(manager.dir()))
                QVERIFY2(entry.path().filename().string().find(".conf") == std::string::npos,
                         entry.path().c_str());
        }
        ManagerHarness again(book(), fixedToday(), memory);
        QTreeView* list = again.window().listView();
        QCOMPARE(again.window().size(), leftAt);
        QTRY_COMPARE(list->width(), 705 + 60);
        for (int column = 0; column < 7; ++column)
            QCOMPARE(list->columnWidth(column), widths[column]);
        // At the designed size the last column has its own width again.
        again.window().resize(again.window().minimumSizeHint());
        QTRY_COMPARE(list->columnWidth(6), widths[6] - 60);
    }

    void theMemoryIsInTheUsersConfigurationFolder_data()
    {
        QTest::addColumn<QByteArray>("configHome");
        QTest::addColumn<QString>("expected");
        QTest::newRow("XDG_CONFIG_HOME")
            << QByteArray("/tmp/otra config") << "/tmp/otra config/tortavela/Agendela.conf";
        QTest::newRow("a relative XDG_CONFIG_HOME is not used")
            << QByteArray("config") << "/home/ana/.config/tortavela/Agendela.conf";
        QTest::newRow("unset") << QByteArray() << "/home/ana/.config/tortavela/Agendela.conf";
    }

    void theMemoryIsInTheUsersConfigurationFolder()
    {
        QFETCH(QByteArray, configHome);
        QFETCH(QString, expected);
        const QByteArray home = qgetenv("HOME");
        const QByteArray config = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", "/home/ana");
        if (configHome.isEmpty())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", configHome);
        const auto file = windowMemoryFile();
        qputenv("HOME", home);
        if (config.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", config);
        QCOMPARE(QString::fromStdString(file.string()), expected);
    }
};

QTEST_MAIN(ContactListViewTest)
#include "ContactListViewTest.moc"
