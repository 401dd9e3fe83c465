#include "ContactListModel.h"
#include "FileText.h"
#include "ManagerHarness.h"
#include "ShownText.h"

#include <QPlainTextEdit>
#include <QTreeView>
#include <QtTest>

// Values far longer than a window can show, as a contact file may hold them: the main window
// shows their start, and what is stored, edited and found again is the whole value.
class LongValuesTest : public QObject {
    Q_OBJECT

    static std::string line(const std::string& name, const std::string& note)
    {
        return recordLine({name, "", "30", "05/03", "", "", "", note});
    }
    static QString shownStart(const QString& text, qsizetype length)
    {
        return text.left(length) + QChar(u'…');
    }

private slots:
    void theWindowShowsTheStartAndKeepsTheWhole()
    {
        const std::string name = "Bea " + longText(3'000);
        const std::string note = longText(200'000);
        const std::string other = line("Ana", "de Ana");
        ManagerHarness manager(fileOf({other, line(name, note)}));
        const int row = manager.positionOf(QString::fromUtf8(name));
        QCOMPARE(row, 1);
        manager.clickRow(row);

        QCOMPARE(manager.window().note(), QString::fromUtf8(note));
        auto* box = manager.window().findChild<QPlainTextEdit*>("txtdesc");
        QCOMPARE(box->document()->toRawText(),
                 shownStart(QString::fromUtf8(note), platform::kShownInBox));
        const QModelIndex nameCell = manager.window().contactList()->index(row, 0);
        QCOMPARE(nameCell.data().toString(),
                 shownStart(QString::fromUtf8(name), platform::kShownInRow));
        QCOMPARE(nameCell.data(Qt::ToolTipRole), nameCell.data());

        // The removal finds the contact by its whole line.
        manager.action("mnudel")->trigger();
        QCOMPARE(manager.bytes(), fileOf({other}));
    }
};

QTEST_MAIN(LongValuesTest)
#include "LongValuesTest.moc"
