#pragma once

#include <QString>
#include <QValidator>
#include <optional>

class QLineEdit;
class QWidget;

namespace manager {

// What a field of the contact file can hold: the characters of Windows-1252, except the field
// terminator "§" and line breaks, for which the format has no escape, and control characters
// other than the tab (contacts::isStorableCharacter). The dialogs refuse
// anything else as it is typed or pasted and say why, instead of changing it behind the user's
// back when it is stored.

bool isStorableCharacter(QChar c);
bool isLineBreak(QChar c);

// The first character of the text that no field can hold.
std::optional<QChar> firstUnstorableCharacter(const QString& text);

// Refuses any edit that would leave a character the file cannot hold.
class StorableLineValidator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override;
    // What the last refused edit typed or pasted, so that the refusal can offer it storable.
    QString lastRefusedInsertion() const;

private:
    // The text before the refused edit and the text the edit would have left. When the line
    // input tells that it refused an edit, its own text is still the refused one.
    mutable QString m_lastAccepted;
    mutable QString m_lastRefused;
};

// Gives the field a StorableLineValidator and explains each refusal next to the field.
void refuseUnstorableInput(QLineEdit* field);

// Shows a short explanation next to the field that refused some input.
void explainRefusedInput(QWidget* field, const QString& why);

// " ¿Quiere decir «Lukasz»?": the refused text as the file can hold it (exchange::storableText,
// as an import stores it), its start when it is long; nothing when nothing of it could be
// stored. `oneLine`: the text goes to a value of one line, where line breaks are refused.
QString storableOffer(const QString& refused, bool oneLine);

// The explanations, in the user's words; the first offers the refused text as the file can
// hold it.
QString unstorableCharacterExplanation(const QString& refused, bool oneLine);
QString oneLineNoteExplanation();
QString lineFullExplanation(int maxLength);

} // namespace manager
