#pragma once

#include <QMainWindow>
#include <array>
#include <filesystem>
#include <optional>

class ContactListModel;
class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QTreeView;

// The manager's main window: the sorted contact list, the count, the note box and the menus.
// Its controls are the manager's shared state: the contact dialogs and the removal change the
// list, the count and the note box through the functions below.
class FrmPrincipal : public QMainWindow {
    Q_OBJECT
public:
    struct Environment {
        std::filesystem::path programDir;
        std::filesystem::path autostartDir;
    };

    explicit FrmPrincipal(Environment environment, QWidget* parent = nullptr);
    ~FrmPrincipal() override;

    // The start-up: logon registration, today's date, the list's columns, the contacts, the
    // count, the sort and the commands.
    void formLoad();

    const std::filesystem::path& programDir() const { return m_env.programDir; }
    ContactListModel* contactList() const { return m_model; }
    QTreeView* listView() const { return m_list; }

    // The display position of the selected row, or nothing.
    std::optional<int> selectedRow() const;
    int contactCount() const;
    QString note() const;
    void setNote(const QString& note);
    // "Quitar" and "Modificar..." always change together.
    void setContactCommandsEnabled(bool enabled);
    // Shows the number of rows in the hidden count and in its caption.
    void showCount();

    // The column widths in twips for a client width, as the list's columns were designed.
    static std::array<double, 7> columnWidthsTwips(double scaleWidth);

private:
    void buildControls();
    void buildMenus();
    void setUpColumns();
    void loadContacts();

    Environment m_env;
    ContactListModel* m_model = nullptr;
    QLabel* m_lbldate = nullptr;
    QLabel* m_lblcantcum = nullptr;
    QLabel* m_lblcant = nullptr;
    QTreeView* m_list = nullptr;
    QPlainTextEdit* m_txtdesc = nullptr;
    QMenu* m_mnuarchivo = nullptr;
    QMenu* m_mnuayuda = nullptr;
    QAction* m_mnuadd = nullptr;
    QAction* m_mnumodi = nullptr;
    QAction* m_mnudel = nullptr;
    QAction* m_mnuend = nullptr;
    QAction* m_mnuacerca = nullptr;
};
