#include "FrmAdd.h"

#include "ContactChanges.h"
#include "FileProblemMessage.h"
#include "FrmPrincipal.h"
#include "Lookup.h"

FrmAdd::FrmAdd(FrmPrincipal& mainWindow)
    : ContactForm(mainWindow, QStringLiteral("Agregar"), "FrmAdd")
{}

bool FrmAdd::isNameTaken(std::string_view content, std::string_view name) const
{
    return contacts::isNameStored(content, name);
}

bool FrmAdd::store(const contacts::Fields& record, const ContactListModel::Row& row)
{
    const contacts::ChangeResult result =
        contacts::appendRecord(mainWindow().programDir(), contacts::buildLine(record));
    if (!result.ok()) {
        showFileProblem(this, QStringLiteral("No se pudo guardar el contacto."),
                        mainWindow().programDir(), result.rewrite.error);
        return false;
    }
    mainWindow().showAddedContact(row, txt(contacts::Nota));
    return true;
}
