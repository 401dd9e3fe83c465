#include "manager/StorableTextEdit.h"

#include "manager/StorableInput.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

namespace manager {

namespace {

// A key typed lays out one paragraph again: at this length, a few milliseconds even for one
// word without a blank.
constexpr qsizetype kParagraphCharacters = 4096;

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

// The text with a paragraph separator after every few thousand characters: after the last blank
// of the paragraph's second half, so that words stay whole, or else where the length runs out.
QString inParagraphs(const QString& text)
{
    if (text.size() <= kParagraphCharacters)
        return text;
    QString paragraphs;
    paragraphs.reserve(text.size() + text.size() / (kParagraphCharacters / 2) + 1);
    const QStringView all(text);
    qsizetype from = 0;
    while (all.size() - from > kParagraphCharacters) {
        constexpr qsizetype half = kParagraphCharacters / 2;
        qsizetype end = from + kParagraphCharacters;
        if (const qsizetype blank = all.sliced(from + half, half).lastIndexOf(u' '); blank >= 0)
            end = from + half + blank + 1;
        else if (all[end - 1].isHighSurrogate())
            --end;
        paragraphs += all.sliced(from, end - from);
        paragraphs += QChar::ParagraphSeparator;
        from = end;
    }
    paragraphs += all.sliced(from);
    return paragraphs;
}

} // namespace

StorableTextEdit::StorableTextEdit(LineBreaks lineBreaks, QWidget* parent)
    : QPlainTextEdit(parent), m_lineBreaks(lineBreaks)
{
    // Tab moves on to the next control, as in every other input of the dialog.
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

void StorableTextEdit::setStoredText(const QString& text)
{
    // A line break in a text set from outside is kept, where no paragraph edge can hide it, so
    // that the dialog still refuses it.
    if (std::any_of(text.begin(), text.end(), isLineBreak)) {
        QString kept = text;
        for (QChar& c : kept) {
            if (isLineBreak(c))
                c = QChar::LineSeparator;
        }
        setPlainText(inParagraphs(kept));
        return;
    }
    setPlainText(inParagraphs(text));
}

QString StorableTextEdit::storedText() const
{
    // toPlainText() would turn non-breaking spaces into plain ones.
    return document()->toRawText().remove(QChar::ParagraphSeparator);
}

void StorableTextEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (m_lineBreaks == LineBreaks::Refused) {
            // As in a line input: the dialog decides what Enter does.
            event->ignore();
            return;
        }
        // A line break the note cannot hold becomes a blank, as in pasted text: nothing typed
        // is lost, and the words stay apart.
        explainRefusedInput(this, oneLineNoteExplanation());
        insertPlainText(QStringLiteral(" "));
        event->accept();
        return;
    }
    // The text of an editing key or a shortcut is a control character (Backspace "\b", Ctrl+A
    // "\x01"), which the edit does not insert: only printable text is checked.
    const QString typed = event->text();
    const bool oneLine = m_lineBreaks == LineBreaks::Refused;
    if (!typed.isEmpty() && typed.front().isPrint() && firstUnstorableCharacter(typed)) {
        explainRefusedInput(this, unstorableCharacterExplanation(typed, oneLine));
        event->accept();
        return;
    }
    const bool backward =
        event->key() == Qt::Key_Backspace || event->matches(QKeySequence::DeleteStartOfWord);
    const bool forward =
        event->matches(QKeySequence::Delete) || event->matches(QKeySequence::DeleteEndOfWord);
    if ((backward || forward) && !textCursor().hasSelection())
        stepOverParagraphEdge(backward);
    QPlainTextEdit::keyPressEvent(event);
}

void StorableTextEdit::stepOverParagraphEdge(bool backward)
{
    // An edge holds no character of the value: deleting it would only join two paragraphs.
    QTextCursor cursor = textCursor();
    if (backward) {
        while (cursor.atBlockStart() && cursor.block().previous().isValid())
            cursor.movePosition(QTextCursor::PreviousCharacter);
    } else {
        while (cursor.atBlockEnd() && cursor.block().next().isValid())
            cursor.movePosition(QTextCursor::NextCharacter);
    }
    setTextCursor(cursor);
}

void StorableTextEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (firstUnstorableCharacter(event->commitString())) {
        explainRefusedInput(this, unstorableCharacterExplanation(
                                      event->commitString(), m_lineBreaks == LineBreaks::Refused));
        QInputMethodEvent withoutCommit(event->preeditString(), event->attributes());
        QPlainTextEdit::inputMethodEvent(&withoutCommit);
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

bool StorableTextEdit::canInsertFromMimeData(const QMimeData* source) const
{
    return source->hasText();
}

void StorableTextEdit::insertFromMimeData(const QMimeData* source)
{
    if (!source->hasText())
        return;
    const QString original = source->text();
    const QString text = m_lineBreaks == LineBreaks::Blank ? joinLines(original) : original;
    if (firstUnstorableCharacter(text)) {
        explainRefusedInput(
            this, unstorableCharacterExplanation(text, m_lineBreaks == LineBreaks::Refused));
        return;
    }
    if (text != original)
        explainRefusedInput(this, oneLineNoteExplanation());
    // One step to undo, however many paragraphs a long text makes.
    QTextCursor cursor = textCursor();
    cursor.insertText(inParagraphs(text));
    setTextCursor(cursor);
    ensureCursorVisible();
}

QMimeData* StorableTextEdit::createMimeDataFromSelection() const
{
    auto* data = new QMimeData;
    data->setText(textCursor().selectedText().remove(QChar::ParagraphSeparator));
    return data;
}

} // namespace manager
