// Writes Tortavela's icon as PNG files for the desktop launcher: make_icon DIR.
#include "platform/gui/AppIcon.h"

#include <QGuiApplication>
#include <QString>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2)
        return 2;
    for (int size : {48, 64, 128, 256}) {
        const QString file = QStringLiteral("%1/tortavela-%2.png").arg(argv[1]).arg(size);
        if (!platform::paintAppIcon(size).save(file))
            return 1;
    }
    return 0;
}
