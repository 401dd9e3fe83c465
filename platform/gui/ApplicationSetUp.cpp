#include "platform/gui/ApplicationSetUp.h"

#include "platform/gui/Accessibility.h"
#include "platform/gui/AfterFirstPaint.h"
#include "platform/gui/AppIcon.h"
#include "platform/gui/ProgramStyle.h"
#include "platform/gui/SpanishTranslations.h"

#include <QApplication>

namespace platform {

void setUpApplication(QApplication& app, const char* programName)
{
    QApplication::setApplicationName(QString::fromUtf8(programName));
    QApplication::setDesktopFileName(QStringLiteral("tortavela"));
    // The icon goes to the display with every window at seven sizes, up to 256 x 256: sent
    // before the first paint, it held the first window back by a few milliseconds.
    afterFirstPaint(&app, [] { QApplication::setWindowIcon(appIcon()); });
    QApplication::setStyle(new ProgramStyle);
    installSpanishTranslations(app);
    installWindowRoles();
}

} // namespace platform
