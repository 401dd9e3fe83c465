#include "manager/ContactListModel.h"
#include "reminder/windows/ReminderSession.h"
#include "reminder/windows/ReminderWindows.h"
#include "reminder/windows/TodayWindow.h"
#include "reminder/windows/UpcomingWindow.h"
#include "tests/manager/ManagerHarness.h"
#include "tests/support/FileText.h"
#include "tests/support/TempDir.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTreeView>
#include <QtTest>

using namespace reminder;
using namespace manager;

using namespace std::chrono;

namespace {

// Capitals whose accents reach highest, and a letter that reaches lowest.
const QString kTallText = QStringLiteral("ÁÉÍÓÚÜÑ");

// How many rows of pixels, from the first to the last, two pictures of one place differ in: the
// height of the ink a text left there.
int inkedRows(const QImage& with, const QImage& without)
{
    int first = -1;
    int last = -1;
    for (int y = 0; y < with.height(); ++y) {
        for (int x = 0; x < with.width(); ++x) {
            if (with.pixel(x, y) != without.pixel(x, y)) {
                first = first < 0 ? y : first;
                last = y;
                break;
            }
        }
    }
    return first < 0 ? 0 : last - first + 1;
}

// The same text in the same font drawn with room all around it, as a reference.
int inkedRowsWithRoom(const QFont& font, const QString& text, qreal pixelRatio)
{
    const QFontMetrics metrics(font);
    const QSize room(metrics.horizontalAdvance(text) + 20, 4 * metrics.height());
    QImage with(room * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    with.setDevicePixelRatio(pixelRatio);
    with.fill(Qt::white);
    QImage without = with;
    QPainter painter(&with);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(10, 2 * metrics.height()), text);
    painter.end();
    return inkedRows(with, without);
}

QImage picture(QWidget* widget, const QRect& rect = {})
{
    return widget->grab(rect.isNull() ? widget->rect() : rect).toImage();
}

} // namespace

// Accented capitals show whole in every list and input of both programs: the rows and boxes
// are tall enough for the ink the font really draws, at any scale.
class WholeGlyphsTest : public QObject {
    Q_OBJECT

private:
    void expectWhole(const QImage& with, const QImage& without, const QFont& font,
                     const QString& what)
    {
        const int shown = inkedRows(with, without);
        const int whole = inkedRowsWithRoom(font, kTallText, with.devicePixelRatio());
        QVERIFY2(shown == whole, qPrintable(QStringLiteral("%1: %2 rows of ink instead of %3")
                                                .arg(what)
                                                .arg(shown)
                                                .arg(whole)));
    }

    // Renders a list with the text as its only item and once with an empty item.
    void expectWholeInList(QListWidget* list, const QString& what)
    {
        list->clear();
        list->addItem(kTallText);
        const QRect row = list->visualItemRect(list->item(0));
        const QImage with = picture(list->viewport(), row);
        list->item(0)->setText(QString());
        expectWhole(with, picture(list->viewport(), row), list->font(), what);
    }

    void expectWholeInLine(QLineEdit* box, const QString& what)
    {
        box->setText(kTallText);
        box->setCursorPosition(0);
        const QImage with = picture(box);
        box->clear();
        expectWhole(with, picture(box), box->font(), what);
    }

    void expectWholeInNote(QPlainTextEdit* box, const QString& what)
    {
        box->setPlainText(kTallText);
        const QImage with = picture(box->viewport());
        box->clear();
        expectWhole(with, picture(box->viewport()), box->font(), what);
    }

private slots:
    void managerList()
    {
        // Two windows alike but for the name, each with its only row selected at start-up.
        const auto rowPicture = [](ManagerHarness& manager) {
            QTreeView* list = manager.window().listView();
            list->selectionModel()->clear();
            const QRect row = list->visualRect(manager.window().contactList()->index(0, 0));
            return picture(list->viewport(), row);
        };
        ManagerHarness named(
            fileOf({recordLine({kTallText.toStdString(), "", "", "1/1", "", "", "", ""})}));
        ManagerHarness unnamed(fileOf({recordLine({"", "", "", "1/1", "", "", "", ""})}));
        expectWhole(rowPicture(named), rowPicture(unnamed), named.window().listView()->font(),
                    "LW1");
    }

    void managerInputs()
    {
        ManagerHarness manager(std::string{});
        expectWholeInNote(manager.window().findChild<QPlainTextEdit*>("txtdesc"), "txtdesc");
        ContactDialog* dialog = manager.openDialog("mnuadd");
        QVERIFY(dialog);
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        for (int field : {0, 1, 2, 4, 5, 6})
            expectWholeInLine(static_cast<QLineEdit*>(input(dialog, field)),
                              QStringLiteral("txt(%1)").arg(field));
        expectWholeInNote(static_cast<QPlainTextEdit*>(input(dialog, 7)), "txt(7)");
    }

    void reminderListsAndBoxes()
    {
        TempDir dir;
        ReminderSession session(dir.path(), 2026y / December / 7d, {[] {}, [] {}});
        ReminderWindows windows(session, {{"Ana"}, {"Bea"}, {"Ciro"}, {"Dora"}});
        windows.show();
        QVERIFY(QTest::qWaitForWindowExposed(windows.todayWindow()));
        QVERIFY(QTest::qWaitForWindowExposed(windows.upcomingWindow()));
        expectWholeInList(windows.todayWindow()->findChild<QListWidget*>("lstcumple"), "lstcumple");
        for (const char* list : {"lst3d", "lst2d", "lst1d"})
            expectWholeInList(windows.upcomingWindow()->findChild<QListWidget*>(list), list);
        for (const char* box : {"txtalias", "txtcumple", "txtfono", "txtmail", "txtdire"})
            expectWholeInLine(windows.todayWindow()->findChild<QLineEdit*>(box), box);
        expectWholeInNote(windows.todayWindow()->findChild<QPlainTextEdit*>("txtnota"), "txtnota");
    }
};

QTEST_MAIN(WholeGlyphsTest)
#include "WholeGlyphsTest.moc"
