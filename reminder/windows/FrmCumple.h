#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <string>
#include <vector>

class BirthdaySound;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class ReminderSession;
namespace reminder {
struct AgeUpdateResult;
struct ContactDetails;
} // namespace reminder

// "¡¡FELIZ CUMPLE!!": today's birthdays. Right after the start-up its timer fires once: the
// birthday sound, the date, and the age update of the listed contacts; when the ages could not
// be saved, a line at the bottom says so. Selecting a name shows that contact's details, read
// again from the contact file.
class FrmCumple : public QWidget {
    Q_OBJECT
public:
    explicit FrmCumple(ReminderSession& session, QWidget* parent = nullptr);
    ~FrmCumple() override;

    // Appends a name (Windows-1252 bytes, as stored) to lstcumple.
    void addName(const std::string& name);
    std::vector<std::string> listedNames() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void buildControls();
    void setUpTabOrder();
    void timer1Timer();
    void lstcumpleClick();
    void showDetails(const reminder::ContactDetails& details);
    void tellUnsavedAges(const reminder::AgeUpdateResult& update);

    ReminderSession& m_session;
    BirthdaySound* m_sound = nullptr;
    QTimer* m_timer1 = nullptr;
    QElapsedTimer m_sinceCreated;
    bool m_painted = false;
    QListWidget* m_lstcumple = nullptr;
    QLabel* m_lbldate = nullptr;
    QLabel* m_lblaviso = nullptr;
    QLineEdit* m_txtalias = nullptr;
    QLineEdit* m_txtcumple = nullptr;
    QLineEdit* m_txtfono = nullptr;
    QLineEdit* m_txtmail = nullptr;
    QLineEdit* m_txtdire = nullptr;
    QPlainTextEdit* m_txtnota = nullptr;
    QPushButton* m_cmdabrir = nullptr;
    QPushButton* m_cmdend = nullptr;
};
