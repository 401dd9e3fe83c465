#include "platform/gui/DialogKeys.h"

#include <QKeyEvent>
#include <QPushButton>

namespace platform {

bool pressFocusedButtonOnEnter(QWidget* dialog, QKeyEvent* event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    if (auto* button = qobject_cast<QPushButton*>(dialog->focusWidget()))
        button->click();
    event->accept();
    return true;
}

} // namespace platform
