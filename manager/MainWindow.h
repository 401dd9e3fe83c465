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
class QHeaderView;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QToolBar;
class QTreeView;

namespace manager {

class ContactDialog;
class SyncController;
class ContactListModel;
class ImportPreview;
class ShownContacts;

// The manager's main window: the sorted contact list, the count, the selected contact's note and
// the menus, with a search box above the list. It owns the contact store: the dialogs hand it
// the contact entered, the store writes it, and the list shows what the store answers. When
// another program changes the contact file, the list follows.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    struct Environment {
        std::filesystem::path programDir;
        std::filesystem::path autostartDir;
        // The day an import counts ages on, an export counts years of birth from and the list
        // marks near birthdays from.
        std::function<std::chrono::year_month_day()> today = platform::localToday;
        // The systemctl that enables the reminder's daily timer once (platform/DailyTimer.h);
        // empty to leave the timer alone, as the tests do.
        std::string systemctl = {};
        // Where the window's size and the columns' widths are remembered; none: not remembered.
        std::filesystem::path windowMemoryFile = {};
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

    // Every contact, in name order; the list shows those the search lets through, in the order
    // chosen by the column headers (shownContacts()). Rows are the contact list's throughout.
    ContactListModel* contactList() const { return m_model; }
    ShownContacts* shownContacts() const { return m_shown; }
    QTreeView* listView() const { return m_list; }
    QLineEdit* searchBox() const { return m_searchBox; }
    // Where a row of the contact list stands in the list on screen; invalid while the search
    // hides it.
    QModelIndex listIndex(int row) const;
    std::optional<int> selectedRow() const;
    int contactCount() const;
    // The selected contact's note exactly as stored. The box shows it with non-breaking spaces
    // as blanks, and only the start of a long one.
    QString note() const;

    enum class Command { Add, Modify, Remove, Import, Sync };
    // Shows what the store answered to a command and tells the user of a refusal or a failure,
    // over `messageParent`. True when the change was written.
    bool showAnswer(Command command, contacts::ChangeAnswer answer, QWidget* messageParent);

    // Reads the contact file again when another program changed it, keeping the selected contact
    // selected and the list where it was scrolled to.
    void followContactFile();

    // A dialog of the main window: the main window takes no input while it is open.
    void openWhileDisabled(QDialog* dialog);

    // The column widths in twips for a client width, as the list's columns were designed.
    static std::array<double, 7> columnWidthsTwips(double scaleWidth);
    // The width a column's caption has in the header, in that font, beside the arrow of a sorted
    // column.
    static int headerCaptionRoom(const QHeaderView* header, int columnWidth, const QFont& font);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // No menu to hide the search bar: it is part of the window.
    QMenu* createPopupMenu() override { return nullptr; }

private:
    void buildControls();
    void buildSearchBar();
    void buildMenus();
    void buildListCommands();
    void setUpColumns();
    void fitHeaderFont();
    // The last column takes whatever the list is wider than designed.
    void fitLastColumn();
    void columnResized(int column, int width);
    void recallWindow();
    void rememberWindow() const;
    void search(const QString& text);
    void showSearchMatches();
    // Near birthdays are marked from today: the marks move on at midnight.
    void followToday();
    void showStartupContacts(StartupContacts startup);
    // A change waits for another program's rewrite with the window answering, and gives up
    // after a while.
    void keepAnsweringWhileLocked();
    void showBook(contacts::ContactBook book);
    void showUnreadableLines(std::vector<contacts::UnreadableLine> lines);
    // Selects a row of the contact list; a row the search hides is shown by clearing the search
    // when `reveal`, and left unselected otherwise.
    void selectRow(int row, bool reveal = false);
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
    void showGuide();
    void importContacts();
    void storeImport(ImportPreview& preview, const contacts::ContactBatch& batch);
    void exportContacts();
    void exportBirthdays();
    // Nothing to export while the list is empty.
    void enableExports();
    void openContactDialog(std::optional<contacts::Contact> contact);
    void storeEnteredContact(ContactDialog& dialog, const contacts::Contact& entered);

    Environment m_env;
    std::thread m_dailyTimer;
    contacts::ContactStore m_store;
    std::vector<contacts::UnreadableLine> m_unreadable;
    ContactListModel* m_model = nullptr;
    ShownContacts* m_shown = nullptr;
    QToolBar* m_searchBar = nullptr;
    QLineEdit* m_searchBox = nullptr;
    QLabel* m_searchMatches = nullptr;
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
    SyncController* m_sync = nullptr;
    QAction* m_guideCommand = nullptr;
    QMenu* m_listMenu = nullptr;
    // The columns' widths as designed or as the user left them; the last one shows wider by
    // what the list grew beyond its designed width.
    std::array<int, 7> m_columnWidths{};
    int m_designedListWidth = 0;
    bool m_fittingLastColumn = false;
    bool m_waitingForLock = false;
};

} // namespace manager
