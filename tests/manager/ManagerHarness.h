#pragma once

#include "manager/ContactDialog.h"
#include "manager/MainWindow.h"
#include "platform/gui/MessageBox.h"
#include "tests/support/TempDir.h"

#include <QCoreApplication>
#include <QEvent>
#include <QList>
#include <QStringList>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

class QAction;

// The manager's main window started on a contact file in a fresh program directory and shown
// (offscreen), with every message box answered by `answer` and recorded.
class ManagerHarness {
public:
    // `windowMemory`: where the window remembers its size and columns; none by default.
    explicit ManagerHarness(
        const std::string& content,
        std::function<std::chrono::year_month_day()> today = platform::localToday,
        std::filesystem::path windowMemory = {});
    ManagerHarness(const ManagerHarness&) = delete;
    ManagerHarness& operator=(const ManagerHarness&) = delete;
    ~ManagerHarness();

    manager::MainWindow& window() { return *m_window; }
    const std::filesystem::path& dir() const { return m_dir.path(); }
    std::filesystem::path file() const { return m_dir.path() / "data.tvl"; }
    std::string bytes() const;
    bool exists(const char* name) const;

    QAction* action(const char* name) const;
    // Every contact's name, in name order; the list may show fewer, in another order.
    QStringList names() const;
    // The names the list shows, from its top.
    QStringList shownNames() const;
    // The texts of the row's seven columns.
    QStringList row(int position) const;
    QString countCaption() const;
    // Both commands; fails the test when they differ, since they always change together.
    bool commandsEnabled() const;

    // A row of the contact list (names()), clicked where the list shows it.
    void clickRow(int position);
    int positionOf(const QString& name) const;
    void clickRow(const QString& name) { clickRow(positionOf(name)); }

    // Triggers the menu command and returns the dialog it opened, or nullptr.
    manager::ContactDialog* openDialog(const char* command);
    // Whether a dialog or window of that type is still open, once deferred deletes have run.
    template <typename Window> bool isOpen();
    // Lets the main window see a change another program made to the contact file.
    void followFile();

    QList<platform::MessageRequest> messages;
    QMessageBox::StandardButton answer = QMessageBox::Ok;

private:
    TempDir m_dir;
    std::unique_ptr<manager::MainWindow> m_window;
};

// Types the text into an input as the user would, key by key.
void typeInto(QWidget* input, const QString& text);

// Fills the form: the seven inputs other than the birthday's, then the day and month entries
// (indexes from 0, -1 for no choice).
void fillForm(manager::ContactDialog* form, const QStringList& fieldsWithoutBirthday, int day,
              int month);

void clickAceptar(manager::ContactDialog* form);

// The input of field i (0 to 7) and its text.
QWidget* input(manager::ContactDialog* form, int field);
QString text(manager::ContactDialog* form, int field);
void setText(manager::ContactDialog* form, int field, const QString& text);

template <typename Window> bool ManagerHarness::isOpen()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return m_window->findChild<Window*>() != nullptr;
}
