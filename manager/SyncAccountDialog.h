#pragma once

#include "carddav/Discovery.h"
#include "carddav/SyncAccount.h"

#include <QDialog>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace manager {

// "Cuenta de sincronización": the server's address (the server, the user's principal or the
// address book itself), the user and the password; "Probar" finds the address books and the
// calendars and says in Spanish whether the account works and why not; the user picks the
// address book and the calendar for the birthdays, or none.
class SyncAccountDialog : public QDialog {
    Q_OBJECT
public:
    SyncAccountDialog(QWidget* parent, const std::optional<carddav::SyncAccount>& account,
                      const QString& password);

    carddav::SyncAccount account() const;
    QString password() const;
    // "Quitar la cuenta" was chosen: nothing syncs any more.
    bool removeChosen() const { return m_removeChosen; }

private:
    void test();
    void showFound(const carddav::Discovered& found);
    void updateAccept();

    QLineEdit* m_server = nullptr;
    QLineEdit* m_user = nullptr;
    QLineEdit* m_password = nullptr;
    QPushButton* m_testButton = nullptr;
    QLabel* m_outcome = nullptr;
    QComboBox* m_addressBooks = nullptr;
    QComboBox* m_calendars = nullptr;
    QPushButton* m_acceptButton = nullptr;
    carddav::Discovery* m_discovery = nullptr;
    bool m_removeChosen = false;
};

} // namespace manager
