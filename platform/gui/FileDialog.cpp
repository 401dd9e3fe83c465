#include "platform/gui/FileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace platform {
namespace {

FileChoiceHook& choiceHook()
{
    static FileChoiceHook hook;
    return hook;
}

QString& lastFolder()
{
    static QString folder = QDir::homePath();
    return folder;
}

} // namespace

QString chooseFile(QWidget* parent, const FileRequest& request)
{
    if (choiceHook())
        return choiceHook()(request);
    const bool save = request.purpose == FileRequest::Purpose::Save;
    QFileDialog dialog(parent, request.title, lastFolder(), request.filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save) {
        dialog.setDefaultSuffix(request.defaultSuffix);
        dialog.selectFile(request.suggestedName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString chosen = dialog.selectedFiles().constFirst();
    lastFolder() = QFileInfo(chosen).absolutePath();
    return chosen;
}

void setFileChoiceHook(FileChoiceHook hook)
{
    choiceHook() = std::move(hook);
}

} // namespace platform
