#include "manager/ContactExport.h"

#include "exchange/BirthdayCalendar.h"
#include "exchange/ContactAdapter.h"
#include "exchange/VCardWriter.h"
#include "platform/gui/FileDialog.h"
#include "platform/gui/MessageBox.h"
#include "platform/gui/ShownText.h"
#include "system/SystemError.h"

#include <QSaveFile>
#include <QStringList>
#include <cerrno>

namespace manager {

namespace {

// A message box lists no more names than fit on a screen.
constexpr qsizetype kNamesListed = 20;

std::vector<exchange::ContactValues> valuesOf(const std::vector<contacts::Contact>& contacts)
{
    std::vector<exchange::ContactValues> values;
    values.reserve(contacts.size());
    for (const contacts::Contact& contact : contacts)
        values.push_back(exchange::toContactValues(contact));
    return values;
}

// The path chosen, or empty when the user cancelled.
QString chooseTarget(QWidget* parent, const QString& title, const QString& filter,
                     const QString& name, const QString& suffix)
{
    return platform::chooseFile(
        parent, {platform::FileRequest::Purpose::Save, title, filter, name, suffix});
}

// True when the whole text is in the file. QSaveFile writes a temporary file beside it, syncs
// it and renames it over the old one.
bool writeWhole(QWidget* parent, const QString& path, const std::string& text)
{
    QSaveFile file(path);
    errno = 0;
    if (file.open(QIODevice::WriteOnly) &&
        file.write(text.data(), static_cast<qint64>(text.size())) ==
            static_cast<qint64>(text.size()) &&
        file.commit())
        return true;
    // The system's reason in Spanish: QSaveFile words it in the desktop's language.
    const int error = errno;
    const QString reason =
        error != 0 ? QString::fromStdString(sys::describeSystemError(error)) : file.errorString();
    platform::showMessage(parent, {QMessageBox::Critical, QStringLiteral("Error"),
                                   QStringLiteral("No se pudo escribir el archivo\n%1\n\n%2\n\nEl "
                                                  "archivo que hubiera ahí no ha cambiado.")
                                       .arg(path, reason),
                                   QMessageBox::Ok});
    return false;
}

} // namespace

void exportContactFile(QWidget* parent, const std::vector<contacts::Contact>& contacts,
                       std::chrono::year_month_day today)
{
    const QString path = chooseTarget(parent, QStringLiteral("Exportar contactos"),
                                      QStringLiteral("Tarjetas vCard (*.vcf)"),
                                      QStringLiteral("contactos.vcf"), QStringLiteral("vcf"));
    if (!path.isEmpty())
        writeWhole(parent, path, exchange::writeVCards(valuesOf(contacts), today));
}

void exportBirthdayCalendar(QWidget* parent, const std::vector<contacts::Contact>& contacts,
                            std::chrono::sys_seconds now)
{
    const QString path = chooseTarget(parent, QStringLiteral("Exportar cumpleaños"),
                                      QStringLiteral("Calendarios iCalendar (*.ics)"),
                                      QStringLiteral("cumpleaños.ics"), QStringLiteral("ics"));
    if (path.isEmpty())
        return;
    const exchange::BirthdayCalendar calendar =
        exchange::writeBirthdayCalendar(valuesOf(contacts), now);
    if (!writeWhole(parent, path, calendar.text) || calendar.leftOut.empty())
        return;
    QStringList names;
    for (const std::string& name : calendar.leftOut) {
        if (names.size() == kNamesListed) {
            names << QStringLiteral("y %1 más").arg(calendar.leftOut.size() - kNamesListed);
            break;
        }
        names << platform::shownUtf8Text(name, platform::kShownInRow);
    }
    platform::showMessage(
        parent, {QMessageBox::Information, QStringLiteral("Tortavela"),
                 QStringLiteral("Se han exportado los demás cumpleaños. Quedan fuera estos "
                                "contactos, porque su fecha no existe en el calendario:\n\n%1")
                     .arg(names.join(QStringLiteral("\n"))),
                 QMessageBox::Ok});
}

} // namespace manager
