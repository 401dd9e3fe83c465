#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

// The WebDAV answers a sync reads (RFC 4918 multistatus, RFC 6352 CardDAV, RFC 4791 CalDAV,
// RFC 6578 sync-collection), read with QXmlStreamReader. A document with a DTD is refused whole:
// no entity is ever expanded, so a "billion laughs" body costs nothing.
namespace carddav {

struct DavResource {
    QString href;   // as the server wrote it, percent-encoding included
    int status = 0; // of the response or its first propstat: 200, 404 for a removed member...
    QString etag;
    QString displayName;
    bool isCollection = false;
    bool isAddressBook = false;
    bool isCalendar = false;
    bool calendarTakesEvents = true; // supported-calendar-component-set names VEVENT, or is absent
    QString ctag;                    // http://calendarserver.org/ns/ getctag
    QString syncToken;
    QString principal;   // current-user-principal's href
    QString addressHome; // addressbook-home-set's href
    QString calendarHome;
    QByteArray data; // address-data or calendar-data
};

struct Multistatus {
    std::vector<DavResource> resources;
    QString syncToken; // a sync-collection report's new token
};

// Nothing when the body is not a multistatus, holds a DTD, or is not well formed.
std::optional<Multistatus> parseMultistatus(const QByteArray& body);

} // namespace carddav
