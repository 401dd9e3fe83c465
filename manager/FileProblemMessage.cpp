#include "manager/FileProblemMessage.h"

#include "contacts/ContactFile.h"
#include "exchange/StorageProblem.h"
#include "platform/gui/MessageBox.h"
#include "platform/gui/QtText.h"

namespace manager {

void showFileProblem(QWidget* parent, const QString& whatFailed,
                     const std::filesystem::path& programDir, const std::string& error)
{
    const QString file = QString::fromStdString(contacts::contactFilePath(programDir).string());
    QString text = whatFailed + QStringLiteral("\n\n") + file;
    if (!error.empty())
        text += QStringLiteral("\n") + QString::fromStdString(error);
    text += QStringLiteral("\n\nNo se ha cambiado nada.");
    platform::showMessage(parent,
                          {QMessageBox::Critical, QStringLiteral("Error"), text, QMessageBox::Ok});
}

void showRefusedChange(QWidget* parent, contacts::ChangeAnswer::Refusal refusal)
{
    using Refusal = contacts::ChangeAnswer::Refusal;
    if (refusal == Refusal::NameTaken) {
        platform::showMessage(parent, {QMessageBox::Information, QStringLiteral("Error"),
                                       QStringLiteral("El contacto con el nombre dado ya existe"),
                                       QMessageBox::Ok});
        return;
    }
    const QString why =
        refusal == Refusal::ContactAmbiguous
            ? QStringLiteral("El contacto ha cambiado en el archivo de contactos, y varias líneas "
                             "llevan ahora su nombre: no se sabe cuál es la suya.")
            : QStringLiteral("El contacto ya no está en el archivo de contactos: otro programa "
                             "lo ha cambiado o quitado.");
    platform::showMessage(parent,
                          {QMessageBox::Warning, QStringLiteral("Error"),
                           why + QStringLiteral("\n\nNo se ha cambiado nada. La lista muestra "
                                                "ahora lo que guarda el archivo."),
                           QMessageBox::Ok});
}

void showRefusedImport(QWidget* parent)
{
    platform::showMessage(
        parent, {QMessageBox::Warning, QStringLiteral("Error"),
                 QStringLiteral("Otro programa ha cambiado el archivo de contactos desde que se "
                                "preparó la vista previa.\n\nNo se ha importado nada. La lista "
                                "muestra ahora lo que guarda el archivo: importe el archivo de "
                                "nuevo para ver qué se guardaría."),
                 QMessageBox::Ok});
}

void showOverwrittenFields(QWidget* parent,
                           const std::vector<contacts::ChangeAnswer::Conflict>& conflicts)
{
    if (conflicts.empty())
        return;
    QString text = QStringLiteral("Otro programa cambió estos datos mientras los modificaba; se "
                                  "ha guardado lo que usted escribió:");
    for (const auto& contact : conflicts) {
        text += QStringLiteral("\n\n") + platform::fromFileText(contact.name);
        for (const contacts::FieldConflict& field : contact.fields) {
            const std::string_view caption = exchange::fieldCaption(field.field);
            text += QStringLiteral("\n%1: «%2» en lugar de «%3»")
                        .arg(QString::fromUtf8(caption.data(), qsizetype(caption.size())),
                             platform::fromFileText(field.keptValue),
                             platform::fromFileText(field.fileValue));
        }
    }
    platform::showMessage(
        parent, {QMessageBox::Information, QStringLiteral("Tortavela"), text, QMessageBox::Ok});
}

} // namespace manager
