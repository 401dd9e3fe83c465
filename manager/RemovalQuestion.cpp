#include "manager/RemovalQuestion.h"

#include "platform/gui/MessageBox.h"

namespace manager {

bool confirmRemoval(QWidget* parent)
{
    const auto answer = platform::showMessage(
        parent,
        {QMessageBox::Question, QStringLiteral("Tortavela"),
         QStringLiteral("¿Esta seguro que desea borrar el contacto seleccionado?"),
         QMessageBox::Ok | QMessageBox::Cancel},
        QMessageBox::Ok);
    return answer == QMessageBox::Ok;
}

} // namespace manager
