#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QSslConfiguration>
#include <QString>
#include <QUrl>
#include <functional>

// HTTP for WebDAV with the bounds a sync keeps against any server, however broken or hostile:
// HTTPS with the system's certificates, plain HTTP only to this computer; the credentials only to
// the account's own origin (a redirect elsewhere goes without them); every answer at most
// kMaxAnswerBytes and kAnswerTimeout, cut off beyond.
namespace carddav {

struct DavCall {
    QByteArray method; // PROPFIND, REPORT, GET, PUT, DELETE
    QUrl url;
    QByteArray body = {};
    QByteArray contentType = "application/xml; charset=utf-8";
    QByteArray depth = {}; // "0", "1", or none
    QByteArray ifMatch = {};
    bool ifNoneMatchAny = false;
};

struct DavAnswer {
    enum class Failure { None, NoServer, Refused, Untrusted, TooLarge, TooSlow, Insecure, Other };
    Failure failure = Failure::None;
    int status = 0; // the HTTP status when the server answered
    QByteArray body;
    QByteArray etag;
    QString error;  // Spanish, for the user, when the answer is no success
    QString detail; // the system's own words for a failure without an answer

    bool ok() const { return failure == Failure::None && status >= 200 && status < 300; }
};

class DavClient : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 kMaxAnswerBytes = qint64{32} << 20;
    static constexpr int kAnswerTimeoutMs = 30'000;

    // `origin`: the account's server; its scheme, host and port are where the credentials go.
    DavClient(const QUrl& origin, QString user, QString password, QObject* parent = nullptr);

    // Calls `done` once, from the event loop, whatever happens.
    void send(const DavCall& call, std::function<void(DavAnswer)> done);

    // For tests of a server that never ends its answer: another bound than kAnswerTimeoutMs.
    void setAnswerTimeout(int milliseconds) { m_answerTimeoutMs = milliseconds; }

    // Requests sent so far, redirects included.
    int requestsSent() const { return m_requests; }
    const QUrl& origin() const { return m_origin; }

private:
    void sendTo(const DavCall& call, const QUrl& url, int redirectsLeft,
                std::function<void(DavAnswer)> done);
    bool isOwnOrigin(const QUrl& url) const;

    QNetworkAccessManager m_network;
    QUrl m_origin;
    QString m_user;
    QString m_password;
    QSslConfiguration m_tls;
    int m_requests = 0;
    int m_answerTimeoutMs = kAnswerTimeoutMs;
};

// Why a server is no use, in Spanish: "No se encuentra el servidor", "El servidor no acepta el
// usuario o la contraseña"...
QString describeFailure(const DavAnswer& answer);

} // namespace carddav
