#include "platform/gui/DayFirstDate.h"

namespace platform {
namespace {

// Whether a date format writes the day before the month and the year, and the month as a number.
bool writesDayFirstInNumbers(const QString& format)
{
    QString fields; // the date fields in their order, one letter each: "dMy"
    bool numericMonth = true;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
            ++i;
            continue;
        }
        qsizetype run = 1;
        while (i + run < format.size() && format[i + run] == c)
            ++run;
        if (!quoted) {
            // "ddd" and "dddd" are the day's name, not its number.
            if (c == QLatin1Char('d') && run <= 2)
                fields += c;
            if (c == QLatin1Char('M')) {
                fields += c;
                numericMonth = numericMonth && run <= 2;
            }
            if (c == QLatin1Char('y'))
                fields += c;
        }
        i += run;
    }
    return numericMonth && fields.startsWith(QLatin1Char('d')) && fields.contains(QLatin1Char('M'));
}

} // namespace

QString dayFirstShortDate(const QDate& date, const QLocale& system)
{
    if (writesDayFirstInNumbers(system.dateFormat(QLocale::ShortFormat)))
        return system.toString(date, QLocale::ShortFormat);
    return QLocale(QLocale::Spanish, QLocale::Spain).toString(date, QLocale::ShortFormat);
}

} // namespace platform
