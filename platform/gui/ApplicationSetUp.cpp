#include "ApplicationSetUp.h"

#include "Accessibility.h"
#include "AfterFirstPaint.h"
#include "AppIcon.h"
#include "ProgramStyle.h"
#include "SpanishTranslations.h"

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
