#pragma once

#include <QPointer>
#include <QWidget>

// The secondary windows are not modal: each disables the window that opened it for as long as it
// is open, so the user finishes with it first. Qt disables a child window along with its parent,
// so the secondary window enables itself again right after.
class DisabledWhileOpen {
public:
    DisabledWhileOpen(QWidget* owner, QWidget* secondary);
    DisabledWhileOpen(const DisabledWhileOpen&) = delete;
    DisabledWhileOpen& operator=(const DisabledWhileOpen&) = delete;
    ~DisabledWhileOpen();

    // Enables the owner again; later calls do nothing. Called when the secondary window closes,
    // and by the destructor for a window that is deleted without being closed.
    void release();

private:
    QPointer<QWidget> m_owner;
    bool m_released = false;
};
