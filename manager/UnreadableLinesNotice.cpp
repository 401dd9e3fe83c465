#include "manager/UnreadableLinesNotice.h"

#include <QStringList>

namespace manager {

namespace {

// Beyond this many the numbers would not fit beside each other.
constexpr std::size_t kNumbersShown = 5;

} // namespace

QString unreadableLinesNotice(const std::vector<contacts::UnreadableLine>& lines)
{
    if (lines.empty())
        return {};
    QStringList numbers;
    for (std::size_t i = 0; i < lines.size() && i < kNumbersShown; ++i)
        numbers << QString::number(lines[i].number);
    QString where;
    if (lines.size() > kNumbersShown) {
        where = numbers.join(QStringLiteral(", ")) +
                QStringLiteral(" y %1 más").arg(lines.size() - kNumbersShown);
    } else if (numbers.size() > 1) {
        const QString last = numbers.takeLast();
        where = numbers.join(QStringLiteral(", ")) + QStringLiteral(" y ") + last;
    } else {
        where = numbers.front();
    }
    if (lines.size() == 1) {
        return QStringLiteral("La línea %1 de data.tvl no es un contacto legible: no se muestra y "
                              "se conserva tal como está.")
            .arg(where);
    }
    return QStringLiteral("%1 líneas de data.tvl no son contactos legibles (líneas %2): no se "
                          "muestran y se conservan tal como están.")
        .arg(lines.size())
        .arg(where);
}

} // namespace manager
