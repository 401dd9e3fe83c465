#include "manager/ContactListModel.h"
#include "platform/gui/ShownText.h"
#include "tests/manager/ManagerHarness.h"
#include "tests/support/FileText.h"

#include <QClipboard>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTreeView>
#include <QtTest>

using namespace manager;

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

    // A name longer than a line input holds, and a note shown in several paragraphs.
    void anUnchangedModificationStoresTheWholeValues()
    {
        const std::string name = "Bea " + longText(40'000);
        const std::string note = longText(100'000);
        ManagerHarness manager(fileOf({line(name, note), line("Carla", "")}));
        manager.clickRow(QString::fromUtf8(name));
        auto* form = manager.openDialog("mnumodi");
        QVERIFY(form);
        QCOMPARE(text(form, 0), QString::fromUtf8(name));
        QCOMPARE(text(form, 7), QString::fromUtf8(note));
        // Enter in the name's input leaves the name as it is, as in a line input.
        QTest::keyClick(input(form, 0), Qt::Key_Return);
        clickAceptar(form);

        QVERIFY(manager.messages.isEmpty());
        QCOMPARE(manager.bytes(), fileOf({line("Carla", ""), line(name, note)}));
    }

    // The paragraphs a long note is shown in hold no character of it: deleting beside an edge
    // deletes the character beyond it, and a copy across one holds only the note's characters.
    void editingAtAParagraphEdgeActsOnTheNote()
    {
        const QString note = QString::fromUtf8(longText(20'000));
        ManagerHarness manager(fileOf({line("Ana", note.toStdString())}));
        manager.clickRow(0);
        auto* form = manager.openDialog("mnumodi");
        auto* box = qobject_cast<QPlainTextEdit*>(input(form, 7));
        const QTextBlock second = box->document()->firstBlock().next();
        QVERIFY(second.isValid());
        // The characters before the first edge.
        const int edge = second.position() - 1;
        box->setFocus();
        box->setTextCursor(QTextCursor(second));

        QTest::keyClick(box, Qt::Key_Backspace);
        QString expected = note;
        expected.remove(edge - 1, 1);
        QCOMPARE(text(form, 7), expected);
        QTest::keyClick(box, Qt::Key_Delete);
        expected.remove(edge - 1, 1);
        QCOMPARE(text(form, 7), expected);
        QTest::keyClicks(box, QStringLiteral("xy"));
        expected.insert(edge - 1, QStringLiteral("xy"));
        QCOMPARE(text(form, 7), expected);

        QTextCursor selection(box->document()->findBlockByNumber(0));
        selection.setPosition(edge - 2);
        selection.setPosition(edge + 4, QTextCursor::KeepAnchor);
        box->setTextCursor(selection);
        box->copy();
        QCOMPARE(QApplication::clipboard()->text(), expected.mid(edge - 2, 5));
    }
};

QTEST_MAIN(LongValuesTest)
#include "LongValuesTest.moc"
