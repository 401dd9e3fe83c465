#pragma once

#include "tests/support/TempDir.h"

#include <QString>
#include <QUrl>
#include <filesystem>
#include <string>
#include <sys/types.h>

// A real CardDAV and CalDAV server for one test, started and stopped by the test itself: Debian's
// Radicale (with its own password file, and TLS on a certificate of a test authority when asked)
// or Xandikos (which has no authentication of its own), on 127.0.0.1 at a free port, each with its
// own storage folder. Another device is `curl`, writing to the server as a phone would.
class DavServer {
public:
    enum class Kind { Radicale, Xandikos };

    explicit DavServer(Kind kind, bool tls = false);
    ~DavServer();
    DavServer(const DavServer&) = delete;
    DavServer& operator=(const DavServer&) = delete;

    bool running() const { return m_pid > 0; }
    QUrl base() const;
    QUrl addressBook() const;
    QUrl calendar() const;
    QString user() const { return QStringLiteral("ana"); }
    QString password() const { return QStringLiteral("secreto"); }
    // The test authority's certificate, to trust through SSL_CERT_FILE.
    std::filesystem::path authority() const { return m_dir / "ca.pem"; }

    // Radicale only: cards written straight into the storage folder, as a large address book
    // is seeded (each PUT would take Radicale about a second once it holds hundreds).
    void seed(const std::string& name, const std::string& vcard);

    // Another device: curl's PUT, GET and DELETE of a card. The HTTP status, or 0.
    int put(const QString& href, const std::string& text, const QString& type = "text/vcard");
    std::string get(const QString& href);
    int remove(const QString& href);

private:
    int curl(const QStringList& arguments, std::string* body = nullptr);

    Kind m_kind;
    bool m_tls;
    TempDir m_dir;
    int m_port = 0;
    pid_t m_pid = -1;
};
