#pragma once

#include "carddav/BookSync.h"
#include "carddav/SyncAccount.h"

#include <QObject>
#include <QString>
#include <optional>

class QAction;
class QLabel;
class QMenu;
class QTimer;

namespace manager {

class MainWindow;
class PasswordStore;

// The manager's side of the sync: "Sincronizar ahora" and "Cuenta de sincronización..." in the
// menu, a sync after the first paint and every 15 minutes while an account is set, a line below
// the list with what a sync is doing or did, and a summary window for what the user must know.
// Without an account nothing of it touches the network or makes a file.
class SyncController : public QObject {
    Q_OBJECT
public:
    SyncController(MainWindow& window, QMenu* fileMenu, contacts::ContactStore& store,
                   carddav::BookSync::Environment environment);

    // After the first paint: the first sync, in the background.
    void startUp();
    // The manager replaced a contact's line: a renamed contact stays its card.
    void contactReplaced(std::string_view from, std::string_view to);

    static constexpr int kEveryMs = 15 * 60 * 1000;

private:
    enum class Asked { ByUser, OnItsOwn };
    void syncNow(Asked asked);
    void runWith(const QString& password, Asked asked);
    void finish(const carddav::SyncOutcome& outcome, Asked asked);
    void editAccount();
    void showStatus(const QString& text);
    QString passwordKey() const;

    MainWindow& m_window;
    contacts::ContactStore& m_store;
    carddav::BookSync::Environment m_env;
    std::optional<carddav::SyncAccount> m_account;
    PasswordStore* m_passwords;
    QAction* m_syncCommand = nullptr;
    QAction* m_accountCommand = nullptr;
    QLabel* m_status = nullptr;
    QTimer* m_every = nullptr;
    carddav::BookSync* m_running = nullptr;
};

} // namespace manager
