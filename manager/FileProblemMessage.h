#pragma once

#include <QString>
#include <filesystem>
#include <string>

class QWidget;

// The one message shown when the contact file could not be read or changed. It says that
// nothing was changed, because after a failure neither the file nor the list is.
void showFileProblem(QWidget* parent, const QString& whatFailed,
                     const std::filesystem::path& programDir, const std::string& error);
