#pragma once

#include <QPlainTextEdit>

namespace manager {

// An input for one value of the contact file, wrapped over several lines on screen: the note of
// the contact dialogs, and any other value too long for a line input. The value is one field of
// one line of the file, so it holds no line break; characters that the file cannot hold are
// refused as they are typed or pasted, and the user is told.
//
// Qt lays out a whole paragraph at every change, in a time that grows with the square of its
// longest word: a long value is shown as paragraphs of a few thousand characters, which are no
// part of it. The value read back joins them, a copy holds the value's own characters, and
// deleting at a paragraph's edge deletes the neighbouring character, as on a wrapped line.
class StorableTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    // What a typed or pasted line break becomes: a blank, as in the note, or nothing: refused, as
    // a line input refuses it.
    enum class LineBreaks { Blank, Refused };

    explicit StorableTextEdit(LineBreaks lineBreaks, QWidget* parent = nullptr);

    void setStoredText(const QString& text);
    // The text as stored: the paragraphs joined, non-breaking spaces as they are.
    QString storedText() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;

private:
    // Moves the cursor over the paragraph edges it stands at, towards the character a deletion
    // will take.
    void stepOverParagraphEdge(bool backward);

    LineBreaks m_lineBreaks;
};

} // namespace manager
