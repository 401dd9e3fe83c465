#pragma once

#include "ContactChanges.h"
#include "ContactForm.h"

#include <string>

// The modify dialog: the form filled from the contact selected in the list and the note box.
// The changed contact replaces the stored one as the last line of the contact file, and its
// row takes the old row's place in the list.
class FrmEdit : public ContactForm {
    Q_OBJECT
public:
    // The main window must have a selected row.
    explicit FrmEdit(FrmPrincipal& mainWindow);

protected:
    bool isNameTaken(std::string_view content, std::string_view name) const override;
    bool store(const contacts::Fields& record, const ContactListModel::Row& row) override;

private:
    // The main window is disabled while the dialog is open, so the contact selected when it
    // opened is the one being changed.
    int m_position = 0;
    contacts::SelectedContact m_contact;
    // The name as the list showed it, lower-cased: as long as the new name equals it, the
    // contact's own lines are no duplicates.
    std::string m_nombreoriginal;
};
