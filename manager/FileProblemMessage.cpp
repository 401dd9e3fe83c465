#include "FileProblemMessage.h"

#include "ContactFile.h"
#include "MessageBox.h"

void showFileProblem(QWidget* parent, const QString& whatFailed,
                     const std::filesystem::path& programDir, const std::string& error)
{
    const QString file = QString::fromStdString(contacts::contactFilePath(programDir).string());
    QString text = whatFailed + QStringLiteral("\n\n") + file;
    if (!error.empty())
        text += QStringLiteral("\n") + QString::fromLocal8Bit(error.c_str());
    text += QStringLiteral("\n\nNo se ha cambiado nada.");
    platform::showMessage(parent,
                          {QMessageBox::Critical, QStringLiteral("Error"), text, QMessageBox::Ok});
}
