#include "carddav/DavClient.h"

#include <QHostAddress>
#include <QNetworkReply>
#include <QPointer>
#include <QSslConfiguration>
#include <QTimer>
#include <memory>

namespace carddav {
namespace {

constexpr int kMaxRedirects = 5;

bool isLoopback(const QUrl& url)
{
    const QString host = url.host();
    if (host.compare(QLatin1StringView("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

DavAnswer failure(DavAnswer::Failure kind, QString error)
{
    DavAnswer answer;
    answer.failure = kind;
    answer.error = std::move(error);
    return answer;
}

bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

} // namespace

DavClient::DavClient(const QUrl& origin, QString user, QString password, QObject* parent)
    : QObject(parent), m_origin(origin), m_user(std::move(user)), m_password(std::move(password))
{
    m_network.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    m_tls = QSslConfiguration::defaultConfiguration();
    // The system's certificates, and those of a file named by SSL_CERT_FILE as OpenSSL's own tools
    // take it: the way to trust a server whose certificate no authority signed.
    const QString extra = qEnvironmentVariable("SSL_CERT_FILE");
    if (!extra.isEmpty())
        m_tls.addCaCertificates(extra);
}

bool DavClient::isOwnOrigin(const QUrl& url) const
{
    return url.scheme() == m_origin.scheme() &&
           url.host().compare(m_origin.host(), Qt::CaseInsensitive) == 0 &&
           url.port(url.scheme() == QLatin1StringView("https") ? 443 : 80) ==
               m_origin.port(m_origin.scheme() == QLatin1StringView("https") ? 443 : 80);
}

void DavClient::send(const DavCall& call, std::function<void(DavAnswer)> done)
{
    sendTo(call, call.url, kMaxRedirects, std::move(done));
}

void DavClient::sendTo(const DavCall& call, const QUrl& url, int redirectsLeft,
                       std::function<void(DavAnswer)> done)
{
    const auto answerLater = [this, done](DavAnswer answer) {
        QTimer::singleShot(0, this, [done, answer] { done(answer); });
    };
    const bool https = url.scheme() == QLatin1StringView("https");
    if (!https && !(url.scheme() == QLatin1StringView("http") && isLoopback(url))) {
        answerLater(
            failure(DavAnswer::Failure::Insecure,
                    QStringLiteral("Solo se sincroniza por HTTPS (HTTP sin cifrar, solo con "
                                   "este mismo ordenador): %1")
                        .arg(url.toString(QUrl::RemoveUserInfo))));
        return;
    }

    QNetworkRequest request(url);
    if (https)
        request.setSslConfiguration(m_tls);
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArrayLiteral("Tortavela"));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    if (!call.body.isEmpty())
        request.setHeader(QNetworkRequest::ContentTypeHeader, call.contentType);
    if (!call.depth.isEmpty())
        request.setRawHeader("Depth", call.depth);
    if (!call.ifMatch.isEmpty())
        request.setRawHeader("If-Match", call.ifMatch);
    if (call.ifNoneMatchAny)
        request.setRawHeader("If-None-Match", "*");
    if (isOwnOrigin(url)) {
        const QByteArray credentials = (m_user + u':' + m_password).toUtf8().toBase64();
        request.setRawHeader("Authorization", "Basic " + credentials);
    }

    ++m_requests;
    QNetworkReply* reply = m_network.sendCustomRequest(request, call.method, call.body);
    auto body = std::make_shared<QByteArray>();
    auto cutOff = std::make_shared<DavAnswer::Failure>(DavAnswer::Failure::None);
    auto* timer = new QTimer(reply);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, reply, [reply, cutOff] {
        *cutOff = DavAnswer::Failure::TooSlow;
        reply->abort();
    });
    timer->start(m_answerTimeoutMs);
    const auto tooLarge = [reply, cutOff] {
        *cutOff = DavAnswer::Failure::TooLarge;
        reply->abort();
    };
    connect(reply, &QNetworkReply::metaDataChanged, reply, [reply, tooLarge] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > kMaxAnswerBytes)
            tooLarge();
    });
    connect(reply, &QNetworkReply::readyRead, reply, [reply, body, tooLarge] {
        if (body->size() + reply->bytesAvailable() > kMaxAnswerBytes) {
            tooLarge();
            return;
        }
        body->append(reply->readAll());
    });
    connect(reply, &QNetworkReply::finished, this,
            [this, reply, body, cutOff, call, url, redirectsLeft, done] {
                reply->deleteLater();
                if (*cutOff == DavAnswer::Failure::None && reply->bytesAvailable() > 0) {
                    if (body->size() + reply->bytesAvailable() > kMaxAnswerBytes)
                        *cutOff = DavAnswer::Failure::TooLarge;
                    else
                        body->append(reply->readAll());
                }
                DavAnswer answer;
                answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
                if (*cutOff != DavAnswer::Failure::None) {
                    answer.failure = *cutOff;
                } else if (answer.status == 0) {
                    switch (reply->error()) {
                    case QNetworkReply::HostNotFoundError:
                    case QNetworkReply::ConnectionRefusedError:
                        answer.failure = DavAnswer::Failure::NoServer;
                        break;
                    case QNetworkReply::SslHandshakeFailedError:
                        answer.failure = DavAnswer::Failure::Untrusted;
                        break;
                    case QNetworkReply::TimeoutError:
                        answer.failure = DavAnswer::Failure::TooSlow;
                        break;
                    default:
                        answer.failure = DavAnswer::Failure::Other;
                        break;
                    }
                    answer.detail = reply->errorString();
                } else if (isRedirect(answer.status) && redirectsLeft > 0) {
                    const QUrl next =
                        url.resolved(reply->header(QNetworkRequest::LocationHeader).toUrl());
                    sendTo(call, next, redirectsLeft - 1, done);
                    return;
                } else if (answer.status == 401) {
                    answer.failure = DavAnswer::Failure::Refused;
                }
                answer.body = std::move(*body);
                answer.etag = reply->rawHeader("ETag");
                if (!answer.ok())
                    answer.error = describeFailure(answer);
                done(answer);
            });
}

QString describeFailure(const DavAnswer& answer)
{
    switch (answer.failure) {
    case DavAnswer::Failure::NoServer:
        return QStringLiteral("No se encuentra el servidor.");
    case DavAnswer::Failure::Refused:
        return QStringLiteral("El servidor no acepta el usuario o la contraseña.");
    case DavAnswer::Failure::Untrusted:
        return QStringLiteral("El certificado del servidor no es de confianza.");
    case DavAnswer::Failure::TooLarge:
        return QStringLiteral("El servidor ha respondido con más de 32 MB.");
    case DavAnswer::Failure::TooSlow:
        return QStringLiteral("El servidor no ha respondido a tiempo.");
    case DavAnswer::Failure::Insecure:
        return answer.error;
    case DavAnswer::Failure::Other:
        return QStringLiteral("No se pudo hablar con el servidor (%1).").arg(answer.detail);
    case DavAnswer::Failure::None:
        break;
    }
    return QStringLiteral("El servidor ha respondido con un error (%1).").arg(answer.status);
}

} // namespace carddav
