#pragma once

#include "contacts/ContactStore.h"
#include "manager/StartupContacts.h"
#include "platform/Today.h"

#include <QMainWindow>
#include <array>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class QAction;
class QDialog;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QTreeView;

namespace manager {

class ContactDialog;
class ContactListModel;
class ImportPreview;

// The manager's main window: the sorted contact list, the count, the selected contact's note and
// the menus. It owns the contact store: the dialogs hand it the contact entered, the store
// writes it, and the list shows what the store answers. When another program changes the
// contact file, the list follows.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    struct Environment {
        std::filesystem::path programDir;
        std::filesystem::path autostartDir;
        // The day an import counts ages on and an export counts years of birth from.
        std::function<std::chrono::year_month_day()> today = platform::localToday;
        // The systemctl that enables the reminder's daily timer once (platform/DailyTimer.h);
        // empty to leave the timer alone, as the tests do.
        std::string systemctl = {};
    };

    explicit MainWindow(Environment environment, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up: today's date, the list's columns and the contacts, with the row of the
    // file's first contact selected, and the window's size; once the window is painted, the
    // logon registration, the daily timer (on a thread of its own: systemctl may be slow to
    // answer) and the watch on the contact file.
    void startUp();
    // The same with the contacts already read (see StartupContacts.h).
    void startUp(StartupContacts startup);

    ContactListModel* contactList() const { return m_model; }
    QTreeView* listView() const { return m_list; }
    std::optional<int> selectedRow() const;
    int contactCount() const;
    // The selected contact's note exactly as stored. The box shows it with non-breaking spaces
    // as blanks, and only the start of a long one.
    QString note() const;

    enum class Command { Add, Modify, Remove, Import };
    // Shows what the store answered to a command and tells the user of a refusal or a failure,
    // over `messageParent`. True when the change was written.
    bool showAnswer(Command command, contacts::ChangeAnswer answer, QWidget* messageParent);

    // Reads the contact file again when another program changed it, keeping the selected contact
    // selected and the list where it was scrolled to.
    void followContactFile();

    // The column widths in twips for a client width, as the list's columns were designed.
    static std::array<double, 7> columnWidthsTwips(double scaleWidth);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void setUpColumns();
    void fitHeaderFont();
    void showStartupContacts(StartupContacts startup);
    // A change waits for another program's rewrite with the window answering, and gives up
    // after a while.
    void keepAnsweringWhileLocked();
    void showBook(contacts::ContactBook book);
    void showUnreadableLines(std::vector<contacts::UnreadableLine> lines);
    void selectRow(int row);
    void clearSelection();
    // The note box and the commands follow the selection.
    void showSelectedContact();
    void showCount();
    std::vector<std::string> unreadableNames() const;
    // Every stored name, the unreadable lines' included, for the duplicate check.
    std::vector<std::string> storedNames() const;

    // The menu commands.
    void addContact();
    void modifyContact();
    void removeContact();
    void showAbout();
    void importContacts();
    void storeImport(ImportPreview& preview, const contacts::ContactBatch& batch);
    void exportContacts();
    void exportBirthdays();
    // Nothing to export while the list is empty.
    void enableExports();
    void openWhileDisabled(QDialog* dialog);
    void openContactDialog(std::optional<contacts::Contact> contact);
    void storeEnteredContact(ContactDialog& dialog, const contacts::Contact& entered);

    Environment m_env;
    std::thread m_dailyTimer;
    contacts::ContactStore m_store;
    std::vector<contacts::UnreadableLine> m_unreadable;
    ContactListModel* m_model = nullptr;
    QLabel* m_dateLabel = nullptr;
    QLabel* m_countCaption = nullptr;
    QLabel* m_hiddenCount = nullptr;
    QTreeView* m_list = nullptr;
    QPlainTextEdit* m_noteBox = nullptr;
    QLabel* m_unreadableNotice = nullptr;
    QMenu* m_fileMenu = nullptr;
    QMenu* m_helpMenu = nullptr;
    QAction* m_addCommand = nullptr;
    QAction* m_modifyCommand = nullptr;
    QAction* m_removeCommand = nullptr;
    QAction* m_importCommand = nullptr;
    QAction* m_exportContactsCommand = nullptr;
    QAction* m_exportBirthdaysCommand = nullptr;
    QAction* m_quitCommand = nullptr;
    QAction* m_aboutCommand = nullptr;
    bool m_waitingForLock = false;
};

} // namespace manager
