#include "carddav/Discovery.h"

#include "carddav/DavXml.h"

namespace carddav {
namespace {

const QByteArray kLookBody = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                             "<d:propfind xmlns:d=\"DAV:\" "
                             "xmlns:c=\"urn:ietf:params:xml:ns:carddav\" "
                             "xmlns:cal=\"urn:ietf:params:xml:ns:caldav\"><d:prop>"
                             "<d:resourcetype/><d:displayname/><d:current-user-principal/>"
                             "<c:addressbook-home-set/><cal:calendar-home-set/>"
                             "<cal:supported-calendar-component-set/></d:prop></d:propfind>";

QString nameOf(const DavResource& resource, const QUrl& url)
{
    if (!resource.displayName.isEmpty())
        return resource.displayName;
    const QStringList parts = url.path().split(u'/', Qt::SkipEmptyParts);
    return parts.isEmpty() ? url.toString() : parts.last();
}

} // namespace

Discovery::Discovery(const QUrl& address, const QString& user, const QString& password,
                     QObject* parent)
    : QObject(parent), m_address(address), m_client(address, user, password, this)
{}

void Discovery::start()
{
    lookAt(m_address, false);
}

void Discovery::lookAt(const QUrl& url, bool wellKnownTried)
{
    DavCall call{"PROPFIND", url, kLookBody, "application/xml; charset=utf-8", "0"};
    m_client.send(call, [this, url, wellKnownTried](const DavAnswer& answer) {
        if (answer.failure != DavAnswer::Failure::None &&
            answer.failure != DavAnswer::Failure::Other) {
            m_found.error = answer.error;
            finish();
            return;
        }
        const auto found = answer.ok() ? parseMultistatus(answer.body) : std::nullopt;
        if (found && !found->resources.empty()) {
            const DavResource& resource = found->resources.front();
            if (resource.isAddressBook)
                m_found.addressBooks.push_back({url, nameOf(resource, url)});
            if (!resource.principal.isEmpty()) {
                readPrincipal(url.resolved(QUrl(resource.principal)));
                return;
            }
        }
        if (!wellKnownTried) {
            QUrl wellKnown = url;
            wellKnown.setPath(QStringLiteral("/.well-known/carddav"));
            lookAt(wellKnown, true);
            return;
        }
        if (m_firstError.isEmpty() && !answer.ok())
            m_firstError = answer.error;
        finish();
    });
}

void Discovery::readPrincipal(const QUrl& principal)
{
    m_principal = principal;
    DavCall call{"PROPFIND", principal, kLookBody, "application/xml; charset=utf-8", "0"};
    m_client.send(call, [this, principal](const DavAnswer& answer) {
        const auto found = answer.ok() ? parseMultistatus(answer.body) : std::nullopt;
        if (!found || found->resources.empty()) {
            m_found.error = answer.ok() ? QString() : answer.error;
            finish();
            return;
        }
        const DavResource& resource = found->resources.front();
        if (!resource.addressHome.isEmpty())
            m_addressHome = principal.resolved(QUrl(resource.addressHome));
        if (!resource.calendarHome.isEmpty())
            m_calendarHome = principal.resolved(QUrl(resource.calendarHome));
        const auto calendars = [this] {
            if (m_calendarHome.isEmpty()) {
                finish();
                return;
            }
            listHome(m_calendarHome, true, [this] { finish(); });
        };
        if (m_addressHome.isEmpty()) {
            calendars();
            return;
        }
        listHome(m_addressHome, false, calendars);
    });
}

void Discovery::listHome(const QUrl& home, bool calendars, std::function<void()> then)
{
    DavCall call{"PROPFIND", home, kLookBody, "application/xml; charset=utf-8", "1"};
    m_client.send(call, [this, home, calendars, then](const DavAnswer& answer) {
        const auto found = answer.ok() ? parseMultistatus(answer.body) : std::nullopt;
        if (found) {
            for (const DavResource& resource : found->resources) {
                const QUrl url = home.resolved(QUrl(resource.href));
                if (calendars && resource.isCalendar && resource.calendarTakesEvents)
                    m_found.calendars.push_back({url, nameOf(resource, url)});
                const bool known = std::any_of(
                    m_found.addressBooks.begin(), m_found.addressBooks.end(),
                    [&](const Collection& book) { return book.url.path() == url.path(); });
                if (!calendars && resource.isAddressBook && !known)
                    m_found.addressBooks.push_back({url, nameOf(resource, url)});
            }
        }
        then();
    });
}

void Discovery::finish()
{
    m_found.ok = !m_found.addressBooks.empty();
    if (!m_found.ok && m_found.error.isEmpty())
        m_found.error = m_firstError.isEmpty()
                            ? QStringLiteral("En esa dirección no hay ninguna libreta de "
                                             "direcciones (CardDAV).")
                            : m_firstError;
    emit finished(m_found);
}

} // namespace carddav
