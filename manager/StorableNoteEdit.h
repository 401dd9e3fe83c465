#pragma once

#include <QPlainTextEdit>

// The note box of the contact dialogs. The note is one field of one line of the contact file,
// so it wraps over several lines on screen but holds no line break: Enter and the line breaks of
// pasted text become blanks before they reach the box. Characters that the file
// cannot hold are refused as they are typed or pasted, and the user is told.
class StorableNoteEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit StorableNoteEdit(QWidget* parent = nullptr);

    // The text as stored: non-breaking spaces stay what they are.
    QString storedText() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
};
