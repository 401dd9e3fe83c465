#pragma once

#include "ContactForm.h"

// The add dialog: an empty form whose contact becomes the last line of the contact file and a
// new row of the list.
class FrmAdd : public ContactForm {
    Q_OBJECT
public:
    explicit FrmAdd(FrmPrincipal& mainWindow);

protected:
    bool isNameTaken(std::string_view content, std::string_view name) const override;
    bool store(const contacts::Fields& record, const ContactListModel::Row& row) override;
};
