#include "manager/StorableInput.h"

#include "contacts/Record.h"
#include "exchange/Transliteration.h"
#include "platform/gui/ShownText.h"

#include <QLineEdit>
#include <QToolTip>
#include <algorithm>

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
    if (firstUnstorableCharacter(input)) {
        m_lastRefused = input;
        return Invalid;
    }
    m_lastAccepted = input;
    return Acceptable;
}

QString StorableLineValidator::lastRefusedInsertion() const
{
    // What stands between the common start and the common end of the texts before and after.
    const QString& before = m_lastAccepted;
    const QString& after = m_lastRefused;
    qsizetype start = 0;
    while (start < before.size() && start < after.size() && before[start] == after[start])
        ++start;
    qsizetype end = 0;
    while (end < before.size() - start && end < after.size() - start &&
           before[before.size() - 1 - end] == after[after.size() - 1 - end])
        ++end;
    return after.mid(start, after.size() - start - end);
}

void refuseUnstorableInput(QLineEdit* field)
{
    auto* validator = new StorableLineValidator(field);
    field->setValidator(validator);
    // A line input also refuses what goes beyond its length, cutting a paste short.
    QObject::connect(field, &QLineEdit::inputRejected, field, [field, validator] {
        explainRefusedInput(
            field, field->text().size() >= field->maxLength()
                       ? lineFullExplanation(field->maxLength())
                       : unstorableCharacterExplanation(validator->lastRefusedInsertion(), true));
    });
}

void explainRefusedInput(QWidget* field, const QString& why)
{
    QToolTip::showText(field->mapToGlobal(QPoint(0, field->height())), why, field);
}

QString storableOffer(const QString& refused, bool oneLine)
{
    // A few words: the offer is read in a tooltip or a message. Only the start of a long text
    // is transliterated, which takes microseconds a character.
    constexpr qsizetype kOfferedCharacters = 60;
    qsizetype looked = std::min(refused.size(), 4 * kOfferedCharacters);
    if (looked > 0 && refused[looked - 1].isHighSurrogate())
        --looked;
    const QByteArray utf8 = refused.first(looked).toUtf8();
    const std::optional<exchange::StorableText> storable = exchange::storableText(
        std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())), oneLine);
    if (!storable || storable->text.empty())
        return {};
    return QStringLiteral(" ¿Quiere decir «%1»?")
        .arg(platform::shownUtf8Text(storable->text, kOfferedCharacters));
}

QString unstorableCharacterExplanation(const QString& refused, bool oneLine)
{
    return QStringLiteral("Ese carácter no se puede guardar: el archivo de contactos no admite "
                          "«§», saltos de línea, caracteres de control ni caracteres fuera de "
                          "Windows-1252.") +
           storableOffer(refused, oneLine);
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
