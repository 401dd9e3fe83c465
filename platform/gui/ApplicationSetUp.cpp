#include "ApplicationSetUp.h"

#include "Accessibility.h"
#include "AfterFirstPaint.h"
#include "AppIcon.h"
#include "SpanishTranslations.h"

#include <QApplication>
#include <QProxyStyle>

namespace platform {
namespace {

// The platform's style, with a tap on Alt moving the focus to the menu bar as users of other
// desktops expect.
class KeyboardFriendlyStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_MenuBar_AltKeyNavigation)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

void setUpApplication(QApplication& app, const char* programName)
{
    QApplication::setApplicationName(QString::fromUtf8(programName));
    QApplication::setDesktopFileName(QStringLiteral("tortavela"));
    // The icon goes to the display with every window at seven sizes, up to 256 x 256: sent
    // before the first paint, it held the first window back by a few milliseconds.
    afterFirstPaint(&app, [] { QApplication::setWindowIcon(appIcon()); });
    QApplication::setStyle(new KeyboardFriendlyStyle);
    installSpanishTranslations(app);
    installWindowRoles();
}

} // namespace platform
