#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

namespace platform {

// The programs' message boxes: modal, with their buttons in Spanish. Tests answer them through
// a hook instead of a modal loop.
struct MessageRequest {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
};

using MessageAnswerHook = std::function<QMessageBox::StandardButton(const MessageRequest&)>;

QMessageBox::StandardButton
showMessage(QWidget* parent, const MessageRequest& request,
            QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

// While set, every message box is answered by the hook and never shown.
void setMessageAnswerHook(MessageAnswerHook hook);

} // namespace platform
