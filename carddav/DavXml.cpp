#include "carddav/DavXml.h"

#include <QXmlStreamReader>

namespace carddav {
namespace {

constexpr auto kDav = QLatin1StringView("DAV:");
constexpr auto kCardDav = QLatin1StringView("urn:ietf:params:xml:ns:carddav");
constexpr auto kCalDav = QLatin1StringView("urn:ietf:params:xml:ns:caldav");
constexpr auto kCalendarServer = QLatin1StringView("http://calendarserver.org/ns/");

int statusCode(const QString& line)
{
    // "HTTP/1.1 200 OK"
    const QStringList parts = line.split(u' ', Qt::SkipEmptyParts);
    return parts.size() >= 2 ? parts[1].toInt() : 0;
}

class Reader {
public:
    explicit Reader(const QByteArray& body) : m_xml(body) {}

    std::optional<Multistatus> read()
    {
        Multistatus result;
        bool sawMultistatus = false;
        while (next()) {
            if (m_xml.isStartElement() && is(kDav, "multistatus")) {
                sawMultistatus = true;
            } else if (m_xml.isStartElement() && is(kDav, "response")) {
                result.resources.push_back(readResponse());
            } else if (m_xml.isStartElement() && is(kDav, "sync-token")) {
                result.syncToken = text();
            }
        }
        if (m_failed || m_xml.hasError() || !sawMultistatus)
            return std::nullopt;
        return result;
    }

private:
    bool next()
    {
        if (m_failed || m_xml.atEnd())
            return false;
        m_xml.readNext();
        if (m_xml.tokenType() == QXmlStreamReader::DTD ||
            m_xml.tokenType() == QXmlStreamReader::EntityReference) {
            m_failed = true;
            return false;
        }
        return !m_xml.hasError();
    }

    bool is(QLatin1StringView ns, const char* name) const
    {
        return m_xml.namespaceUri() == ns && m_xml.name() == QLatin1StringView(name);
    }

    // The text of the current element, child elements' text included.
    QString text()
    {
        QString collected;
        int depth = 1;
        while (depth > 0 && next()) {
            if (m_xml.isStartElement())
                ++depth;
            else if (m_xml.isEndElement())
                --depth;
            else if (m_xml.isCharacters())
                collected += m_xml.text();
        }
        return collected.trimmed();
    }

    // The href inside the current element.
    QString innerHref()
    {
        QString href;
        int depth = 1;
        while (depth > 0 && next()) {
            if (m_xml.isStartElement() && is(kDav, "href")) {
                if (href.isEmpty())
                    href = text();
            } else if (m_xml.isStartElement()) {
                ++depth;
            } else if (m_xml.isEndElement()) {
                --depth;
            }
        }
        return href;
    }

    void readResourceType(DavResource& resource)
    {
        int depth = 1;
        while (depth > 0 && next()) {
            if (m_xml.isStartElement()) {
                ++depth;
                if (is(kDav, "collection"))
                    resource.isCollection = true;
                else if (is(kCardDav, "addressbook"))
                    resource.isAddressBook = true;
                else if (is(kCalDav, "calendar"))
                    resource.isCalendar = true;
            } else if (m_xml.isEndElement()) {
                --depth;
            }
        }
    }

    void readComponents(DavResource& resource)
    {
        resource.calendarTakesEvents = false;
        int depth = 1;
        while (depth > 0 && next()) {
            if (m_xml.isStartElement()) {
                ++depth;
                if (is(kCalDav, "comp") && m_xml.attributes().value(QLatin1StringView("name")) ==
                                               QLatin1StringView("VEVENT"))
                    resource.calendarTakesEvents = true;
            } else if (m_xml.isEndElement()) {
                --depth;
            }
        }
    }

    void readProp(DavResource& resource)
    {
        int depth = 1;
        while (depth > 0 && next()) {
            if (m_xml.isEndElement()) {
                --depth;
                continue;
            }
            if (!m_xml.isStartElement())
                continue;
            if (is(kDav, "getetag"))
                resource.etag = text();
            else if (is(kDav, "displayname"))
                resource.displayName = text();
            else if (is(kDav, "resourcetype"))
                readResourceType(resource);
            else if (is(kDav, "sync-token"))
                resource.syncToken = text();
            else if (is(kCalendarServer, "getctag"))
                resource.ctag = text();
            else if (is(kDav, "current-user-principal"))
                resource.principal = innerHref();
            else if (is(kCardDav, "addressbook-home-set"))
                resource.addressHome = innerHref();
            else if (is(kCalDav, "calendar-home-set"))
                resource.calendarHome = innerHref();
            else if (is(kCalDav, "supported-calendar-component-set"))
                readComponents(resource);
            else if (is(kCardDav, "address-data") || is(kCalDav, "calendar-data"))
                resource.data = text().toUtf8();
            else
                text();
        }
    }

    void readPropstat(DavResource& resource)
    {
        // The status follows the prop in the document: read the prop into a copy first.
        DavResource read = resource;
        int status = 0;
        bool sawProp = false;
        int depth = 1;
        while (depth > 0 && next()) {
            if (m_xml.isStartElement() && is(kDav, "prop")) {
                readProp(read);
                sawProp = true;
            } else if (m_xml.isStartElement() && is(kDav, "status")) {
                status = statusCode(text());
            } else if (m_xml.isStartElement()) {
                ++depth;
            } else if (m_xml.isEndElement()) {
                --depth;
            }
        }
        if (sawProp && (status == 0 || status == 200))
            resource = read;
        if (resource.status == 0 || status == 200)
            resource.status = status;
    }

    DavResource readResponse()
    {
        DavResource resource;
        int depth = 1;
        while (depth > 0 && next()) {
            if (m_xml.isStartElement() && is(kDav, "href")) {
                if (resource.href.isEmpty())
                    resource.href = text();
            } else if (m_xml.isStartElement() && is(kDav, "propstat")) {
                readPropstat(resource);
            } else if (m_xml.isStartElement() && is(kDav, "status")) {
                resource.status = statusCode(text());
            } else if (m_xml.isStartElement()) {
                ++depth;
            } else if (m_xml.isEndElement()) {
                --depth;
            }
        }
        return resource;
    }

    QXmlStreamReader m_xml;
    bool m_failed = false;
};

} // namespace

std::optional<Multistatus> parseMultistatus(const QByteArray& body)
{
    return Reader(body).read();
}

} // namespace carddav
