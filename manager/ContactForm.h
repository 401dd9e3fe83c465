#pragma once

#include "ContactListModel.h"
#include "DisabledWhileOpen.h"
#include "Record.h"

#include <QWidget>
#include <array>
#include <string_view>

class FrmPrincipal;
class QComboBox;
class QLineEdit;
class QPushButton;
class StorableNoteEdit;

// The contact entry form that the add and the modify dialog share: one input per field of a
// contact record, the birthday chosen from a day and a month list, and the checks on "Aceptar".
// The dialogs differ in how they fill the form, how they test for a duplicate name and how
// they store the contact.
class ContactForm : public QWidget {
    Q_OBJECT
public:
    // The inputs txt(0) to txt(7) hold fields 0 to 7 of the record; txt(3), the composed
    // birthday, is never shown.
    QString txt(int index) const;
    void setTxt(int index, const QString& text);
    QWidget* txtWidget(int index) const;

    QComboBox* cmbdia() const { return m_cmbdia; }
    QComboBox* cmbmes() const { return m_cmbmes; }
    QPushButton* cmdaceptar() const { return m_cmdaceptar; }
    QPushButton* cmdcancel() const { return m_cmdcancel; }

    // The choices of the birthday lists for a stored birthday; both stay without a choice when
    // the text is no day and month.
    void chooseBirthday(std::string_view storedBirthday);

protected:
    // Disables the main window until the form closes. Deletes itself when closed.
    ContactForm(FrmPrincipal& mainWindow, const QString& title, const char* objectName);

    FrmPrincipal& mainWindow() const { return m_mainWindow; }

    // Check 3: whether the contact file's content already holds the name (file bytes).
    virtual bool isNameTaken(std::string_view content, std::string_view name) const = 0;
    // Stores the checked contact. On failure the dialog tells the user, changes nothing and
    // returns false; the form then stays open.
    virtual bool store(const contacts::Fields& record, const ContactListModel::Row& row) = 0;

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void cmdaceptarClick();
    void refuse(const QString& message, bool asError);
    // The birthday as the record stores it: the chosen day, "/", the month's two digits.
    QString composedBirthday() const;

    FrmPrincipal& m_mainWindow;
    DisabledWhileOpen m_mainWindowDisabled;
    std::array<QLineEdit*, contacts::kFieldCount> m_lines{}; // nullptr for the note
    StorableNoteEdit* m_note = nullptr;
    QComboBox* m_cmbdia = nullptr;
    QComboBox* m_cmbmes = nullptr;
    QPushButton* m_cmdaceptar = nullptr;
    QPushButton* m_cmdcancel = nullptr;
};
