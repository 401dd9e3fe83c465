#include "FrmEdit.h"

#include "FileProblemMessage.h"
#include "FrmPrincipal.h"
#include "Lookup.h"
#include "QtText.h"
#include "Windows1252.h"

FrmEdit::FrmEdit(FrmPrincipal& mainWindow)
    : ContactForm(mainWindow, QStringLiteral("Modificar"), "FrmEdit")
{
    m_position = mainWindow.selectedRow().value_or(0);
    m_contact = mainWindow.selectedContact().value_or(contacts::SelectedContact{});
    const ContactListModel::Row row = mainWindow.contactList()->row(m_position);
    for (int i = 0; i < ContactListModel::kColumnCount; ++i)
        setTxt(i, row[i]);
    setTxt(contacts::Nota, mainWindow.note());
    chooseBirthday(platform::toFileText(row[contacts::Cumple]).value_or(std::string{}));
    m_nombreoriginal = contacts::lowerWindows1252(m_contact.name);
}

bool FrmEdit::isNameTaken(std::string_view content, std::string_view name) const
{
    return contacts::isNameTakenByAnother(content, name, m_nombreoriginal);
}

bool FrmEdit::store(const contacts::Fields& record, const ContactListModel::Row& row)
{
    const contacts::ChangeResult result =
        contacts::replaceContact(mainWindow().programDir(), m_contact, contacts::buildLine(record));
    if (!result.ok()) {
        showFileProblem(this, QStringLiteral("No se pudo guardar el contacto modificado."),
                        mainWindow().programDir(), result.rewrite.error);
        return false;
    }
    mainWindow().showReplacedContact(m_position, result.droppedLines, row);
    return true;
}
