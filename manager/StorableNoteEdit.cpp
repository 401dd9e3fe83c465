#include "StorableNoteEdit.h"

#include "StorableInput.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextDocument>

namespace {

// Each line break, CR LF counted as one, becomes one blank.
QString joinLines(const QString& text)
{
    QString joined;
    joined.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isLineBreak(text[i])) {
            joined += text[i];
            continue;
        }
        joined += u' ';
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
    }
    return joined;
}

} // namespace

StorableNoteEdit::StorableNoteEdit(QWidget* parent) : QPlainTextEdit(parent)
{
    // Tab moves on to the next control, as in every other input of the dialog.
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

QString StorableNoteEdit::storedText() const
{
    // toPlainText() would turn non-breaking spaces into plain ones.
    return document()->toRawText();
}

void StorableNoteEdit::keyPressEvent(QKeyEvent* event)
{
    // A line break the note cannot hold becomes a blank, as in pasted text: nothing typed is
    // lost, and the words stay apart.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        explainRefusedInput(this, oneLineNoteExplanation());
        insertPlainText(QStringLiteral(" "));
        event->accept();
        return;
    }
    // The text of an editing key or a shortcut is a control character (Backspace "\b", Ctrl+A
    // "\x01"), which the edit does not insert: only printable text is checked.
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.front().isPrint() && firstUnstorableCharacter(typed)) {
        explainRefusedInput(this, unstorableCharacterExplanation());
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void StorableNoteEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (firstUnstorableCharacter(event->commitString())) {
        explainRefusedInput(this, unstorableCharacterExplanation());
        QInputMethodEvent withoutCommit(event->preeditString(), event->attributes());
        QPlainTextEdit::inputMethodEvent(&withoutCommit);
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

bool StorableNoteEdit::canInsertFromMimeData(const QMimeData* source) const
{
    return source->hasText();
}

void StorableNoteEdit::insertFromMimeData(const QMimeData* source)
{
    if (!source->hasText())
        return;
    const QString original = source->text();
    const QString text = joinLines(original);
    if (firstUnstorableCharacter(text)) {
        explainRefusedInput(this, unstorableCharacterExplanation());
        return;
    }
    if (text != original)
        explainRefusedInput(this, oneLineNoteExplanation());
    QMimeData plain;
    plain.setText(text);
    QPlainTextEdit::insertFromMimeData(&plain);
}
