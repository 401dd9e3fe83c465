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
};

// Gives the field a StorableLineValidator and explains each refusal next to the field.
void refuseUnstorableInput(QLineEdit* field);

// Shows a short explanation next to the field that refused some input.
void explainRefusedInput(QWidget* field, const QString& why);

// The explanations, in the user's words.
QString unstorableCharacterExplanation();
QString oneLineNoteExplanation();
QString lineFullExplanation(int maxLength);

} // namespace manager
