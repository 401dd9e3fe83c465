#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace reminder {

class BirthdaySound;
class ReminderSession;
struct AgeUpdateResult;
struct CaughtUpBirthday;
struct ContactDetails;

// "¡¡FELIZ CUMPLE!!": today's birthdays. Right after the start-up its timer fires once: the
// birthday sound, the date, and the age update of the listed contacts with the catch-up of the
// birthdays that passed without a reminder; a line at the bottom names those, and another says
// when the ages could not be saved. On a day that missed nothing the window is as designed.
// Selecting a name shows that contact's details, read again from the contact file.
class TodayWindow : public QWidget {
    Q_OBJECT
public:
    explicit TodayWindow(ReminderSession& session, QWidget* parent = nullptr);
    ~TodayWindow() override;

    // Appends a name (Windows-1252 bytes, as stored) to lstcumple.
    void addName(const std::string& name);
    std::vector<std::string> listedNames() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void buildControls();
    void setUpTabOrder();
    void runStartTick();
    void showSelectedContact();
    void showDetails(const reminder::ContactDetails& details);
    void tellUnsavedAges(const reminder::AgeUpdateResult& update);
    void tellMissedBirthdays(const std::vector<reminder::CaughtUpBirthday>& birthdays);
    // The lines below the buttons, one under the other, and the window grown to hold them.
    void placeNotices();

    ReminderSession& m_session;
    BirthdaySound* m_sound = nullptr;
    QTimer* m_startTick = nullptr;
    QElapsedTimer m_sinceCreated;
    bool m_painted = false;
    QListWidget* m_names = nullptr;
    QLabel* m_dateLabel = nullptr;
    QLabel* m_unsavedNotice = nullptr;
    QLabel* m_missedNotice = nullptr;
    QLineEdit* m_aliasBox = nullptr;
    QLineEdit* m_ageBox = nullptr;
    QLineEdit* m_phoneBox = nullptr;
    QLineEdit* m_emailBox = nullptr;
    QLineEdit* m_addressBox = nullptr;
    QPlainTextEdit* m_noteBox = nullptr;
    QPushButton* m_openManagerButton = nullptr;
    QPushButton* m_quitButton = nullptr;
};

} // namespace reminder
