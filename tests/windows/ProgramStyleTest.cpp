#include "platform/gui/ProgramStyle.h"

#include "tests/manager/ManagerHarness.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QtTest>

namespace {

// The shared libraries the process has loaded, as the kernel lists them.
QByteArray loadedLibraries()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) ? maps.readAll() : QByteArray();
}

int opaquePixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    return count;
}

} // namespace

// The style both programs use, on the real main window.
class ProgramStyleTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setStyle(new platform::ProgramStyle); }

    // A menu bar asks for its extension button's arrows when it is made, and the search box for
    // its clear button. Read from an image file, they would load every image plugin Qt has
    // before the main window's first paint.
    void theMainWindowComesUpWithoutImagePlugins()
    {
        QVERIFY(loadedLibraries().contains("libQt6Widgets"));
        ManagerHarness manager(std::string{});
        QVERIFY(manager.window().isVisible());
        QVERIFY(!loadedLibraries().contains("/imageformats/"));
    }

    void theExtensionArrowsAreDrawnInBothDirections()
    {
        const QStyle* style = QApplication::style();
        const QImage horizontal =
            style->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton).pixmap(16).toImage();
        const QImage vertical =
            style->standardIcon(QStyle::SP_ToolBarVerticalExtensionButton).pixmap(16).toImage();
        QVERIFY(opaquePixels(horizontal) > 0);
        QVERIFY(opaquePixels(
                    style->standardIcon(QStyle::SP_LineEditClearButton).pixmap(16).toImage()) > 0);
        QVERIFY(opaquePixels(vertical) > 0);
        // Pointing down, the arrows are the right-pointing ones turned a quarter.
        QCOMPARE(
            vertical.convertToFormat(QImage::Format_ARGB32),
            horizontal.transformed(QTransform().rotate(90)).convertToFormat(QImage::Format_ARGB32));
    }
};

QTEST_MAIN(ProgramStyleTest)
#include "ProgramStyleTest.moc"
