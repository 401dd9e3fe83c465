#include "manager/ContactImport.h"

#include "exchange/CardImport.h"
#include "exchange/ImportPlan.h"
#include "manager/ImportPreview.h"
#include "platform/gui/FileDialog.h"
#include "platform/gui/MessageBox.h"

#include <QFile>
#include <QFileInfo>

namespace manager {

ImportPreview* prepareImport(QWidget* parent, const std::vector<contacts::Contact>& stored,
                             const std::vector<std::string>& unreadableNames,
                             std::chrono::year_month_day today)
{
    const QString path = platform::chooseFile(
        parent, {platform::FileRequest::Purpose::Open,
                 QStringLiteral("Importar contactos"),
                 QStringLiteral("Tarjetas vCard (*.vcf *.vcard);;Todos los archivos (*)"),
                 {},
                 {}});
    if (path.isEmpty())
        return nullptr;
    exchange::VCardFile file = exchange::readVCardFile(QFile::encodeName(path).toStdString());
    if (!file.error.empty()) {
        platform::showMessage(
            parent, {QMessageBox::Warning, QStringLiteral("Error"),
                     QStringLiteral("No se pueden importar los contactos de\n%1\n\n%2\n\nNo se ha "
                                    "cambiado nada.")
                         .arg(path, QString::fromStdString(file.error)),
                     QMessageBox::Ok});
        return nullptr;
    }
    std::vector<exchange::ImportedCard> cards = exchange::importCards(file, today);
    file = {}; // the file's text, up to 32 MB, is not needed for the plan and the preview
    return new ImportPreview(parent, QFileInfo(path).fileName(),
                             exchange::planImport(std::move(cards), stored, unreadableNames),
                             today);
}

} // namespace manager
