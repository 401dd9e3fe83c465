#pragma once

#include "contacts/Contact.h"

#include <chrono>
#include <string>
#include <vector>

class QWidget;

namespace manager {

class ImportPreview;

// The first steps of "Importar contactos...": the file dialog, then the file read and each card
// marked against the stored contacts. The preview it makes is not shown yet. Nothing when the
// user chose no file, or when the file cannot be imported: the user has been told why, and
// nothing was written.
ImportPreview* prepareImport(QWidget* parent, const std::vector<contacts::Contact>& stored,
                             const std::vector<std::string>& unreadableNames,
                             std::chrono::year_month_day today);

} // namespace manager
