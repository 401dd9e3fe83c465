#pragma once

#include "contacts/ContactStore.h"

#include <QString>
#include <filesystem>
#include <string>
#include <vector>

class QWidget;

namespace manager {

// The messages of a change the contact file did not take.

// The file could not be read or changed. It says that nothing was changed, because after a
// failure neither the file nor the list is.
void showFileProblem(QWidget* parent, const QString& whatFailed,
                     const std::filesystem::path& programDir, const std::string& error);

// The change was refused; the list shows the file as it is now.
void showRefusedChange(QWidget* parent, contacts::ChangeAnswer::Refusal refusal);

// An import was refused: the contact file changed since the preview was made.
void showRefusedImport(QWidget* parent);

// A change was written over fields another program had changed meanwhile: says which, with the
// value each side gave.
void showOverwrittenFields(QWidget* parent,
                           const std::vector<contacts::ChangeAnswer::Conflict>& conflicts);

} // namespace manager
