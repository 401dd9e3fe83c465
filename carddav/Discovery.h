#pragma once

#include "carddav/DavClient.h"

#include <QObject>
#include <QString>
#include <QUrl>
#include <vector>

// What an account offers, found from whatever address the user typed: the server, the user's
// principal, or an address book itself. The server's /.well-known/carddav (RFC 6764), the
// principal (current-user-principal), its homes (addressbook-home-set, RFC 6352;
// calendar-home-set, RFC 4791), and the collections in them.
namespace carddav {

struct Collection {
    QUrl url;
    QString name;
};

struct Discovered {
    bool ok = false;
    QString error; // Spanish, why nothing can be used
    std::vector<Collection> addressBooks;
    std::vector<Collection> calendars; // those that take events
};

class Discovery : public QObject {
    Q_OBJECT
public:
    Discovery(const QUrl& address, const QString& user, const QString& password,
              QObject* parent = nullptr);
    void start();

signals:
    void finished(const carddav::Discovered& discovered);

private:
    void lookAt(const QUrl& url, bool wellKnownTried);
    void readPrincipal(const QUrl& principal);
    void listHome(const QUrl& home, bool calendars, std::function<void()> then);
    void finish();

    QUrl m_address;
    DavClient m_client;
    Discovered m_found;
    QUrl m_principal;
    QUrl m_addressHome;
    QUrl m_calendarHome;
    QString m_firstError;
};

} // namespace carddav
