#pragma once

#include "carddav/DavClient.h"
#include "carddav/SyncAccount.h"
#include "contacts/ContactStore.h"
#include "sync/SyncRules.h"

#include <QObject>
#include <chrono>
#include <functional>
#include <optional>

// One sync of the book with the account's address book, and of its birthdays with the account's
// calendar, driven by the event loop so that no window waits for the network:
//   1. what changed on the server: a sync-collection report (RFC 6578) where the address book
//      offers it, else its tag (getctag) and, when that moved, the ETags of every card;
//   2. the cards the rules need, in addressbook-multiget reports;
//   3. the plan (sync/SyncRules.h); the server's writes, each with If-Match or If-None-Match: *
//      (a 412 answer, a card changed meanwhile, starts the round again from step 1);
//   4. the book's side in one locked, atomic rewrite through the store;
//   5. the birthday calendar; then the state, written whole.
// A sync cut off at any step leaves both sides whole, and the next one finishes the work: a
// write already done reads as the same change on both sides, and new cards and contacts pair by
// name.
namespace carddav {

struct SyncOutcome {
    bool ok = false;
    QString error;                              // Spanish, when not ok
    mirror::SyncSummary summary;                // of the round that was written
    std::optional<contacts::ChangeAnswer> book; // the store's answer, when the book changed
    int requests = 0;
};

class BookSync : public QObject {
    Q_OBJECT
public:
    struct Environment {
        std::filesystem::path programDir;
        std::function<std::chrono::year_month_day()> today;
        std::function<std::chrono::sys_seconds()> now;
        // Called as each step begins ("list", "fetch", "write", "book", "calendar", "state");
        // the kill tests stop the process there.
        std::function<void(const char* step)> atStep = {};
        int answerTimeoutMs = DavClient::kAnswerTimeoutMs;
    };

    BookSync(contacts::ContactStore& store, const SyncAccount& account, const QString& password,
             Environment environment, QObject* parent = nullptr);

    void start();

signals:
    void finished(const carddav::SyncOutcome& outcome);

private:
    void step(const char* name);
    void listChanges();
    void listAllCards();
    void fetchNeededCards();
    void fetchCards(std::vector<std::string> hrefs, std::size_t from);
    void plan();
    void writeServer();
    void sendWrites();
    void sendWrite(std::size_t index);
    void writeBook();
    void syncCalendar();
    void writeCalendarEvent(std::size_t next);
    void writeState();
    void fail(const QString& error);
    void again();

    QUrl urlOf(const std::string& href) const;
    std::string hrefOf(const QString& href) const;

    contacts::ContactStore& m_store;
    SyncAccount m_account;
    Environment m_env;
    DavClient m_client;
    int m_rounds = 0;

    // One round's findings.
    mirror::SyncInput m_input;
    std::string m_newSyncToken;
    std::string m_newCtag;
    mirror::SyncPlan m_plan;
    std::optional<contacts::ChangeAnswer> m_bookAnswer;
    enum class WriteStop { None, ChangedMeanwhile, Failed };
    std::size_t m_nextWrite = 0;
    int m_writesInFlight = 0;
    WriteStop m_writeStop = WriteStop::None;
    QString m_writeError;
    struct EventWrite {
        bool remove = false;
        mirror::SyncedEvent event;
        QByteArray text;
    };
    std::vector<EventWrite> m_eventWrites;
};

} // namespace carddav
