#include "RemovalQuestion.h"

#include "MessageBox.h"

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
