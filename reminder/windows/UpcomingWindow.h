#pragma once

#include <QWidget>
#include <string>

class QListWidget;
class QPushButton;

namespace reminder {

class ReminderSession;

// "¡¡FALTAN POCOS DÍAS!!": the birthdays in 3, 2 and 1 days, left to right. Selecting a name
// does nothing; the window only offers the manager and its closing.
class UpcomingWindow : public QWidget {
    Q_OBJECT
public:
    enum class DaysLeft { One = 1, Two = 2, Three = 3 };

    // Creating the window marks it open (faltanabierto), as its load did.
    explicit UpcomingWindow(ReminderSession& session, QWidget* parent = nullptr);

    // Appends a name (Windows-1252 bytes, as stored) to lst1d, lst2d or lst3d.
    void addName(DaysLeft daysLeft, const std::string& name);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void setUpTabOrder();
    QListWidget* listFor(DaysLeft daysLeft) const;

    ReminderSession& m_session;
    QListWidget* m_inThreeDays = nullptr;
    QListWidget* m_inTwoDays = nullptr;
    QListWidget* m_tomorrow = nullptr;
    QPushButton* m_openManagerButton = nullptr;
    QPushButton* m_quitButton = nullptr;
};

} // namespace reminder
