#pragma once

#include "contacts/Contact.h"

#include <QDialog>
#include <array>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace manager {

class StorableTextEdit;

// The contact entry form, as the add dialog "Agregar" and the modify dialog "Modificar": one
// input per field of a contact, the birthday chosen from a day and a month list, and the checks
// on "Aceptar". It knows neither the window that opened it nor the contact file: it is given the
// contact to modify (or none, to add one) and the names already stored, and hands back the
// contact entered.
class ContactDialog : public QDialog {
    Q_OBJECT
public:
    // `storedNames`: the name of every stored line (the file's bytes), for the duplicate check.
    ContactDialog(QWidget* parent, std::optional<contacts::Contact> contact,
                  std::vector<std::string> storedNames);

    // The contact being modified; nothing in the add dialog.
    const std::optional<contacts::Contact>& original() const { return m_original; }

    // The inputs of fields 0 to 7; the birthday's input holds the composed birthday and is
    // never shown.
    QString fieldText(contacts::ContactField field) const;
    void setFieldText(contacts::ContactField field, const QString& text);
    QWidget* fieldInput(contacts::ContactField field) const;

    QComboBox* dayList() const { return m_dayList; }
    QComboBox* monthList() const { return m_monthList; }
    QPushButton* acceptButton() const { return m_acceptButton; }
    QPushButton* cancelButton() const { return m_cancelButton; }

signals:
    // The checks passed. The dialog stays open until it is accepted: the contact may still fail
    // to be stored.
    void contactEntered(const contacts::Contact& contact);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void fillFrom(const contacts::Contact& contact);
    // The choices of the birthday lists for a stored birthday; both stay without a choice when
    // the text is no day and month.
    void chooseBirthday(std::string_view storedBirthday);
    // The day list offers the days of the chosen month (all 31 without one), with `chosen`
    // (1 to 31, 0 for none) chosen: a day the month lacks is kept after them.
    void offerDays(int chosen);
    int monthDays() const;
    int chosenDay() const;
    void checkAndHandBack();
    // Tells why "Aceptar" was refused and puts the focus back on the control to correct.
    void refuse(const QString& message, QWidget* atFault);
    bool isNameTaken(std::string_view name) const;
    // The birthday as the record stores it: the chosen day, "/", the month's two digits.
    QString composedBirthday() const;

    std::optional<contacts::Contact> m_original;
    std::vector<std::string> m_storedNames;
    // Each field has a line input or a wrapped one: the note, and any value too long for a line.
    std::array<QLineEdit*, contacts::kFieldCount> m_lines{};
    std::array<StorableTextEdit*, contacts::kFieldCount> m_wrapped{};
    QComboBox* m_dayList = nullptr;
    QComboBox* m_monthList = nullptr;
    QPushButton* m_acceptButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};

} // namespace manager
