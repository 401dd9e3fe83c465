#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

namespace platform {

// A date as both programs show it: day first, as the birthdays beside it are stored (5/3 is
// 5 March). The system's short format is used when it writes the day first and the month as a
// number (Spanish 5/3/26, German 05.03.26, British 05/03/2026); any other (American 3/5/26,
// ISO 2026-03-05, or the C locale's "5 Mar 2026" with an English month) gives way to the Spanish
// short format.
QString dayFirstShortDate(const QDate& date, const QLocale& system = QLocale::system());

} // namespace platform
