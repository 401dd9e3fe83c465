#include "ContactRemoval.h"

#include "ContactChanges.h"
#include "FileProblemMessage.h"
#include "FrmPrincipal.h"
#include "MessageBox.h"

void removeSelectedContact(FrmPrincipal& window)
{
    const auto position = window.selectedRow();
    const auto contact = window.selectedContact();
    if (!position || !contact)
        return;

    const auto answer = platform::showMessage(
        &window,
        {QMessageBox::Question, QStringLiteral("Tortavela"),
         QStringLiteral("¿Esta seguro que desea borrar el contacto seleccionado?"),
         QMessageBox::Ok | QMessageBox::Cancel},
        QMessageBox::Ok);
    if (answer != QMessageBox::Ok)
        return;

    const contacts::ChangeResult result = contacts::removeContact(window.programDir(), *contact);
    // Declined means the contact file is gone: the contact is stored nowhere, as after a removal.
    if (result.rewrite.outcome == contacts::RewriteResult::Outcome::Failed) {
        showFileProblem(&window, QStringLiteral("No se pudo quitar el contacto."),
                        window.programDir(), result.rewrite.error);
        return;
    }
    window.showRemovedContact(*position, result.droppedLines);
}
