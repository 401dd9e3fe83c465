#include "manager/ImportPreview.h"

#include "exchange/CardImport.h"
#include "exchange/ImportPlan.h"
#include "manager/ImportCardList.h"
#include "manager/ImportPreviewModel.h"
#include "platform/gui/ProgramStyle.h"
#include "tests/support/FileText.h"

#include <QCheckBox>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QtTest>
#include <cmath>
#include <memory>

using namespace manager;
using namespace std::chrono;

namespace {

const year_month_day kToday = 2026y / December / 8d;

std::string card(const std::string& name, const std::string& more)
{
    return "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" + name + "\r\n" + more + "END:VCARD\r\n";
}

std::unique_ptr<ImportPreview> shownPreview(const std::string& vcf,
                                            const std::vector<contacts::Contact>& stored = {})
{
    auto preview = std::make_unique<ImportPreview>(
        nullptr, QStringLiteral("tarjetas.vcf"),
        exchange::planImport(exchange::importCards(exchange::readVCards(vcf), kToday), stored, {}),
        kToday);
    preview->show();
    if (!QTest::qWaitForWindowExposed(preview.get()))
        return nullptr;
    return preview;
}

// WCAG's relative luminance and contrast ratio: 3:1 is what a control's edge needs against
// what surrounds it.
double luminance(QRgb rgb)
{
    const auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(rgb)) + 0.7152 * linear(qGreen(rgb)) + 0.0722 * linear(qBlue(rgb));
}

double contrast(QRgb a, QRgb b)
{
    const double lighter = std::max(luminance(a), luminance(b));
    const double darker = std::min(luminance(a), luminance(b));
    return (lighter + 0.05) / (darker + 0.05);
}

// The strongest contrast of a pixel of the area against the colour around it.
double strongestContrast(const QImage& image, const QRect& area, const QColor& around)
{
    double strongest = 1;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            strongest = std::max(strongest, contrast(image.pixel(x, y), around.rgb()));
    return strongest;
}

} // namespace

// The import preview as a user sees it: on a laptop's screen of 1366 × 768 (the test's screen,
// see CMakeLists.txt), and with a dark palette.
class ImportPreviewTest : public QObject {
    Q_OBJECT

private slots:
    void everyCardsReasonIsReadableWithoutScrollingSideways()
    {
        QCOMPARE(QGuiApplication::primaryScreen()->size(), QSize(1366, 768));
        const std::string address = "ADR:;;Avenida de la Constitución 1234, portal 5, escalera "
                                    "B;Villanueva de la Cañada;Madrid;28691;España\r\n";
        const auto shown = shownPreview(
            card("Łukasz Wiśniewski-Kowalczyk", "BDAY:--07-01\r\n" + address) +
            card("Sin fecha", "NOTE;CHARSET=X-INVENTADO:x\r\nBDAY:2026-02-29\r\n" + address) +
            card("Ana",
                 "BDAY:--01-01\r\nNOTE:una\\ndos\r\nEMAIL:ana.de.la.fuente@example.com\r\n") +
            card("ANA", "BDAY:--02-02\r\n") + card("😀", "BDAY:--03-03\r\n") +
            card("Ștefan Țurcanu",
                 "NICKNAME:Ștefi\r\nBDAY:--04-04\r\nNOTE:§ 1 " + std::string(300, 'x') + "\r\n"));
        QVERIFY(shown);
        QVERIFY(
            QGuiApplication::primaryScreen()->availableGeometry().contains(shown->frameGeometry()));
        ImportCardList* list = shown->list();
        // The columns reach beyond the list, which is what the reasons must not depend on.
        QScrollBar* sideways = list->horizontalScrollBar();
        QVERIFY(sideways->maximum() > 0);
        list->setCurrentIndex({});
        list->clearSelection();

        const QPalette palette = list->palette();
        int withRemarks = 0;
        for (int row = 0; row < list->model()->rowCount(); ++row) {
            const QModelIndex index = list->model()->index(row, ImportPreviewModel::Mark);
            const QString remarks = shown->model()->remarks(row, QLatin1Char('\n'));
            if (remarks.isEmpty())
                continue;
            ++withRemarks;
            list->scrollTo(index);
            sideways->setValue(sideways->maximum());
            const QRect rect = list->remarksRect(index);
            QVERIFY2(list->viewport()->rect().contains(rect), qPrintable(remarks));
            // What the row shows there is the whole text, wrapped, as drawn on its own.
            QImage expected(rect.size(), QImage::Format_RGB32);
            expected.fill(palette.color(QPalette::Base));
            QPainter painter(&expected);
            painter.setFont(list->font());
            painter.setPen(palette.color(QPalette::Text));
            painter.drawText(expected.rect(), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop,
                             remarks);
            painter.end();
            const QImage shownRemarks =
                list->viewport()->grab().toImage().copy(rect).convertToFormat(QImage::Format_RGB32);
            QVERIFY2(shownRemarks == expected, qPrintable(remarks));
        }
        // Each card but the one left as it is: transliterated, no birthday, repeated name, line
        // breaks, nothing left of the name, and more reasons than one line holds.
        QCOMPARE(withRemarks, 6);
    }

    void uncheckedBoxesStandOutOnADarkPalette()
    {
        QApplication::setStyle(new platform::ProgramStyle(QStyleFactory::create("Fusion")));
        QPalette dark;
        for (const auto& [role, color] : {std::pair{QPalette::Window, QColor(53, 53, 53)},
                                          {QPalette::WindowText, Qt::white},
                                          {QPalette::Base, QColor(30, 30, 30)},
                                          {QPalette::Text, Qt::white},
                                          {QPalette::Button, QColor(53, 53, 53)},
                                          {QPalette::ButtonText, Qt::white},
                                          {QPalette::Highlight, QColor(42, 130, 218)},
                                          {QPalette::HighlightedText, Qt::black}})
            dark.setColor(role, color);
        QApplication::setPalette(dark);

        const auto shown = shownPreview(card("Ana", "BDAY:--01-01\r\n"),
                                        {*contacts::Contact::fromStoredLine(
                                            recordLine({"Ana", "", "", "01/01", "", "", "", ""}))});
        QVERIFY(shown);
        ImportCardList* list = shown->list();
        list->clearSelection();
        const QModelIndex ana = list->model()->index(0, ImportPreviewModel::Mark);
        QCOMPARE(ana.data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Unchecked);
        QStyleOptionViewItem cell;
        cell.initFrom(list->viewport());
        cell.rect = list->visualRect(ana);
        cell.features = QStyleOptionViewItem::HasCheckIndicator;
        const QRect box =
            list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &cell, list);
        QVERIFY(!box.isEmpty());
        QVERIFY(strongestContrast(list->viewport()->grab().toImage(), box,
                                  dark.color(QPalette::Base)) >= 3);

        QCheckBox* updates = shown->updateBox();
        QVERIFY(updates->isEnabled());
        QCOMPARE(updates->checkState(), Qt::Unchecked);
        QStyleOptionButton option;
        option.initFrom(updates);
        const QRect indicator =
            updates->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, updates);
        QVERIFY(strongestContrast(updates->grab().toImage(), indicator,
                                  dark.color(QPalette::Window)) >= 3);
    }
};

QTEST_MAIN(ImportPreviewTest)
#include "ImportPreviewTest.moc"
