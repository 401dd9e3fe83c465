#pragma once

class QCoreApplication;

namespace platform {

// Loads Qt's own Spanish translations, so that standard buttons, message boxes and context menus
// read in Spanish whatever the user's locale. Missing translation files are no failure.
void installSpanishTranslations(QCoreApplication& app);

} // namespace platform
