#include "manager/StorableInput.h"

#include "contacts/Record.h"

#include <QLineEdit>
#include <QToolTip>

namespace manager {

bool isLineBreak(QChar c)
{
    return contacts::isLineBreak(c.unicode());
}

bool isStorableCharacter(QChar c)
{
    return contacts::isStorableCharacter(c.unicode());
}

std::optional<QChar> firstUnstorableCharacter(const QString& text)
{
    for (QChar c : text) {
        if (!isStorableCharacter(c))
            return c;
    }
    return std::nullopt;
}

QValidator::State StorableLineValidator::validate(QString& input, int&) const
{
    return firstUnstorableCharacter(input) ? Invalid : Acceptable;
}

void refuseUnstorableInput(QLineEdit* field)
{
    field->setValidator(new StorableLineValidator(field));
    // A line input also refuses what goes beyond its length, cutting a paste short.
    QObject::connect(field, &QLineEdit::inputRejected, field, [field] {
        explainRefusedInput(field, field->text().size() >= field->maxLength()
                                       ? lineFullExplanation(field->maxLength())
                                       : unstorableCharacterExplanation());
    });
}

void explainRefusedInput(QWidget* field, const QString& why)
{
    QToolTip::showText(field->mapToGlobal(QPoint(0, field->height())), why, field);
}

QString unstorableCharacterExplanation()
{
    return QStringLiteral("Ese carácter no se puede guardar: el archivo de contactos no admite "
                          "«§», saltos de línea, caracteres de control ni caracteres fuera de "
                          "Windows-1252.");
}

QString oneLineNoteExplanation()
{
    return QStringLiteral("La nota se guarda en una sola línea: los saltos de línea quedan como "
                          "espacios.");
}

QString lineFullExplanation(int maxLength)
{
    return QStringLiteral("Esta casilla admite hasta %L1 caracteres: lo que pasaba de ahí no se ha "
                          "escrito.")
        .arg(maxLength);
}

} // namespace manager
