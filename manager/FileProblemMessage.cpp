#include "FileProblemMessage.h"

#include "ContactFile.h"
#include "MessageBox.h"

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
