#include "platform/gui/SpanishTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace platform {

void installSpanishTranslations(QCoreApplication& app)
{
    const QString directory = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* catalogue : {"qtbase", "qtmultimedia"}) {
        auto* translator = new QTranslator(&app);
        if (translator->load(QLocale(QLocale::Spanish, QLocale::Spain), catalogue, "_", directory))
            QCoreApplication::installTranslator(translator);
        else
            delete translator;
    }
}

} // namespace platform
