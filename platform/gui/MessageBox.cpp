#include "platform/gui/MessageBox.h"

namespace platform {
namespace {

MessageAnswerHook& answerHook()
{
    static MessageAnswerHook hook;
    return hook;
}

} // namespace

QMessageBox::StandardButton showMessage(QWidget* parent, const MessageRequest& request,
                                        QMessageBox::StandardButton defaultButton)
{
    if (answerHook())
        return answerHook()(request);
    QMessageBox box(request.icon, request.title, request.text, request.buttons, parent);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void setMessageAnswerHook(MessageAnswerHook hook)
{
    answerHook() = std::move(hook);
}

} // namespace platform
