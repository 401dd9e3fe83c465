#pragma once

#include <QString>
#include <functional>

class QWidget;

// The programs' file dialogs: Qt's own, not the desktop's, so that they speak Spanish, read the
// same on every desktop and stand in the accessibility tree like every other window. Tests
// answer them through a hook instead of a modal loop.
namespace platform {

struct FileRequest {
    enum class Purpose { Open, Save };
    Purpose purpose = Purpose::Open;
    QString title;
    QString filter;        // "Tarjetas vCard (*.vcf *.vcard)"
    QString suggestedName; // Save: the name the dialog proposes
    QString defaultSuffix; // Save: added to a name typed without one
};

using FileChoiceHook = std::function<QString(const FileRequest&)>;

// The chosen file's path; empty when the user cancelled. A Save asks before replacing a file.
// The next dialog opens in the folder of the last file chosen.
QString chooseFile(QWidget* parent, const FileRequest& request);

// While set, every file dialog is answered by the hook and never shown.
void setFileChoiceHook(FileChoiceHook hook);

} // namespace platform
