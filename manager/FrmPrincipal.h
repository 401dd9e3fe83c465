#pragma once

#include "ContactChanges.h"
#include "ContactListModel.h"

#include <QMainWindow>
#include <array>
#include <filesystem>
#include <optional>

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
    // The selected contact as the contact file stores it: the line rebuilt from its row and
    // the note box, and its name. Nothing when no row is selected.
    std::optional<contacts::SelectedContact> selectedContact() const;
    int contactCount() const;
    // The note exactly as stored; the box itself would turn non-breaking spaces into blanks.
    QString note() const;
    void setNote(const QString& note);
    // "Quitar" and "Modificar..." always change together.
    void setContactCommandsEnabled(bool enabled);
    // Shows the number of rows in the hidden count and in its caption.
    void showCount();

    // What the list shows once the contact file holds the change; called only after the file
    // was written, so the list never shows a change that was not stored.
    void showAddedContact(const ContactListModel::Row& row, const QString& note);
    // `droppedLines`: how many stored lines the change dropped for the contact at the position.
    void showReplacedContact(int oldPosition, std::size_t droppedLines,
                             const ContactListModel::Row& row);
    void showRemovedContact(int position, std::size_t droppedLines);

    // The column widths in twips for a client width, as the list's columns were designed.
    static std::array<double, 7> columnWidthsTwips(double scaleWidth);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void setUpColumns();
    void fitHeaderFont();
    void loadContacts();
    void selectRow(int position);
    void clearSelection();

    // The menu commands and the note lookup.
    void mnuaddClick();
    void mnumodiClick();
    void mnudelClick();
    void mnuacercaClick();
    void showSelectedNote();

    Environment m_env;
    ContactListModel* m_model = nullptr;
    QLabel* m_lbldate = nullptr;
    QLabel* m_lblcantcum = nullptr;
    QLabel* m_lblcant = nullptr;
    QTreeView* m_list = nullptr;
    QPlainTextEdit* m_txtdesc = nullptr;
    QString m_note;
    QMenu* m_mnuarchivo = nullptr;
    QMenu* m_mnuayuda = nullptr;
    QAction* m_mnuadd = nullptr;
    QAction* m_mnumodi = nullptr;
    QAction* m_mnudel = nullptr;
    QAction* m_mnuend = nullptr;
    QAction* m_mnuacerca = nullptr;
};
