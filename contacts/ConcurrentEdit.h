#pragma once

#include "contacts/Contact.h"

#include <string>
#include <vector>

// A contact changed in a dialog while another program changed its stored line: the reminder
// advanced the age on the birthday, or the contact was edited elsewhere. Writing the dialog's
// contact as it stands would undo that change without a word (and the reminder's marker would
// then keep the age from being advanced again that year), so the two are merged field by field.
namespace contacts {

// A field both sides changed, to different values: the dialog's value is kept.
struct FieldConflict {
    ContactField field = ContactField::Name;
    std::string fileValue; // what the other program stored
    std::string keptValue; // what the dialog gave, and is stored
};

struct MergedEdit {
    Contact contact;
    std::vector<FieldConflict> conflicts;
};

// `read`: the contact as the dialog was given it; `edited`: what the dialog gave back;
// `current`: what the file holds for it now. Each field takes the dialog's value where the user
// changed it and the file's where not. Birthdays are compared as days: 05/03 and 5/3 are one.
MergedEdit mergeConcurrentEdit(const Contact& read, const Contact& edited, const Contact& current);

} // namespace contacts
