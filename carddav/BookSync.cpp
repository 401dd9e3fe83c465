#include "carddav/BookSync.h"

#include "carddav/DavXml.h"
#include "contacts/Birthday.h"
#include "exchange/BirthdayCalendar.h"
#include "exchange/ContactAdapter.h"

#include <QTimer>
#include <algorithm>
#include <unordered_map>

namespace carddav {
namespace {

// Cards asked for in one addressbook-multiget report.
constexpr std::size_t kCardsPerReport = 200;
// Rounds started again after a card changed meanwhile, before the sync gives up for now.
constexpr int kMostRounds = 3;
// Writes to the server in flight at once.
constexpr int kWritesAtOnce = 4;

QByteArray xmlEscaped(const QString& text)
{
    return text.toHtmlEscaped().toUtf8();
}

QByteArray syncCollectionBody(const std::string& token)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
           "<d:sync-collection xmlns:d=\"DAV:\"><d:sync-token>" +
           xmlEscaped(QString::fromStdString(token)) +
           "</d:sync-token><d:sync-level>1</d:sync-level><d:prop><d:getetag/></d:prop>"
           "</d:sync-collection>";
}

const QByteArray kEtagsBody = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                              "<d:propfind xmlns:d=\"DAV:\"><d:prop><d:getetag/><d:resourcetype/>"
                              "</d:prop></d:propfind>";
const QByteArray kCtagBody =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    "<d:propfind xmlns:d=\"DAV:\" xmlns:cs=\"http://calendarserver.org/ns/\">"
    "<d:prop><cs:getctag/><d:sync-token/></d:prop></d:propfind>";

QString bookChangedMessage()
{
    return QStringLiteral("La libreta del servidor cambió mientras se sincronizaba: se intentará "
                          "de nuevo en la próxima sincronización.");
}

} // namespace

BookSync::BookSync(contacts::ContactStore& store, const SyncAccount& account,
                   const QString& password, Environment environment, QObject* parent)
    : QObject(parent), m_store(store), m_account(account), m_env(std::move(environment)),
      m_client(account.addressBook, account.user, password, this)
{
    m_client.setAnswerTimeout(m_env.answerTimeoutMs);
}

void BookSync::step(const char* name)
{
    if (m_env.atStep)
        m_env.atStep(name);
}

QUrl BookSync::urlOf(const std::string& href) const
{
    QUrl url = m_account.addressBook;
    url.setPath(QString::fromStdString(href), QUrl::DecodedMode);
    url.setQuery(QString());
    url.setFragment(QString());
    return url;
}

std::string BookSync::hrefOf(const QString& href) const
{
    return m_account.addressBook.resolved(QUrl(href)).path(QUrl::FullyDecoded).toStdString();
}

void BookSync::fail(const QString& error)
{
    SyncOutcome outcome;
    outcome.error = error;
    outcome.book = std::move(m_bookAnswer);
    outcome.requests = m_client.requestsSent();
    emit finished(outcome);
}

void BookSync::again()
{
    if (m_rounds >= kMostRounds) {
        fail(bookChangedMessage());
        return;
    }
    start();
}

void BookSync::start()
{
    ++m_rounds;
    step("list");
    m_input = {};
    m_input.today = m_env.today();
    m_input.collection = m_account.addressBook.path(QUrl::FullyDecoded).toStdString();
    const std::optional<mirror::SyncState> state = mirror::readState(m_env.programDir);
    if (state && state->addressBook == m_input.collection) {
        m_input.state = *state;
    } else {
        m_input.state.addressBook = m_input.collection;
        if (state) {
            m_input.state.events = state->events; // the calendar's events are still ours
            m_input.state.calendar = state->calendar;
        }
    }
    // The book as it stands; the store's own rewrite finds its contacts again under the lock.
    contacts::ContactStore reader(m_env.programDir);
    const contacts::LoadResult loaded = reader.load(contacts::ContactStore::WhenMissing::Leave);
    if (loaded.status == contacts::LoadResult::Status::Failed) {
        fail(QString::fromStdString(loaded.error));
        return;
    }
    m_input.book = loaded.book.contacts;
    for (const contacts::UnreadableLine& line : loaded.book.unreadable)
        m_input.unreadableNames.push_back(line.name);
    listChanges();
}

void BookSync::listChanges()
{
    const std::string token = m_input.state.syncToken;
    DavCall report{"REPORT", m_account.addressBook, syncCollectionBody(token)};
    m_client.send(report, [this, token](const DavAnswer& answer) {
        const auto listing = answer.ok() ? parseMultistatus(answer.body) : std::nullopt;
        if (!listing) {
            if (answer.failure != DavAnswer::Failure::None &&
                answer.failure != DavAnswer::Failure::Other) {
                fail(answer.error);
                return;
            }
            // No sync-collection here, or a token the server forgot: the tag and the ETags.
            m_input.state.syncToken.clear();
            listAllCards();
            return;
        }
        m_newSyncToken = listing->syncToken.toStdString();
        // Start from what the last sync knew, and apply what changed since.
        std::unordered_map<std::string, std::string> etags;
        if (!token.empty()) {
            for (const mirror::SyncedPair& pair : m_input.state.pairs)
                etags[pair.href] = pair.etag;
        }
        for (const DavResource& resource : listing->resources) {
            const std::string href = hrefOf(resource.href);
            if (href == m_input.collection || resource.isCollection)
                continue;
            if (resource.status == 404)
                etags.erase(href);
            else
                etags[href] = resource.etag.toStdString();
        }
        for (auto& [href, etag] : etags)
            m_input.server.push_back({href, etag, std::nullopt});
        fetchNeededCards();
    });
}

// The server's cards are listed: fetch those the plan needs whole.
void BookSync::fetchNeededCards()
{
    step("fetch");
    fetchCards(mirror::cardsToFetch(m_input), 0);
}

void BookSync::listAllCards()
{
    DavCall ctag{"PROPFIND", m_account.addressBook, kCtagBody, "application/xml; charset=utf-8",
                 "0"};
    m_client.send(ctag, [this](const DavAnswer& answer) {
        const auto found = answer.ok() ? parseMultistatus(answer.body) : std::nullopt;
        if (!answer.ok()) {
            fail(answer.error);
            return;
        }
        if (!found) {
            fail(QStringLiteral("El servidor respondió algo que no se entiende."));
            return;
        }
        if (found->resources.empty()) {
            fail(QStringLiteral("La dirección no es una libreta de direcciones."));
            return;
        }
        m_newCtag = found->resources.front().ctag.toStdString();
        if (!m_newCtag.empty() && m_newCtag == m_input.state.ctag) {
            // Nothing changed on the server since the last sync.
            for (const mirror::SyncedPair& pair : m_input.state.pairs)
                m_input.server.push_back({pair.href, pair.etag, std::nullopt});
            fetchNeededCards();
            return;
        }
        DavCall etags{"PROPFIND", m_account.addressBook, kEtagsBody,
                      "application/xml; charset=utf-8", "1"};
        m_client.send(etags, [this](const DavAnswer& listed) {
            const auto listing = listed.ok() ? parseMultistatus(listed.body) : std::nullopt;
            if (!listing) {
                fail(listed.ok() ? QStringLiteral("El servidor respondió algo que no se entiende.")
                                 : listed.error);
                return;
            }
            for (const DavResource& resource : listing->resources) {
                const std::string href = hrefOf(resource.href);
                if (href == m_input.collection || resource.isCollection || resource.status != 200)
                    continue;
                m_input.server.push_back({href, resource.etag.toStdString(), std::nullopt});
            }
            fetchNeededCards();
        });
    });
}

void BookSync::fetchCards(std::vector<std::string> hrefs, std::size_t from)
{
    if (from >= hrefs.size()) {
        plan();
        return;
    }
    const std::size_t to = std::min(hrefs.size(), from + kCardsPerReport);
    QByteArray body = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                      "<c:addressbook-multiget xmlns:d=\"DAV:\" "
                      "xmlns:c=\"urn:ietf:params:xml:ns:carddav\"><d:prop><d:getetag/>"
                      "<c:address-data/></d:prop>";
    for (std::size_t i = from; i < to; ++i)
        body += "<d:href>" + xmlEscaped(urlOf(hrefs[i]).path(QUrl::FullyEncoded)) + "</d:href>";
    body += "</c:addressbook-multiget>";
    DavCall report{"REPORT", m_account.addressBook, body, "application/xml; charset=utf-8", "1"};
    m_client.send(report, [this, hrefs = std::move(hrefs), to](const DavAnswer& answer) mutable {
        const auto cards = answer.ok() ? parseMultistatus(answer.body) : std::nullopt;
        if (!cards) {
            fail(answer.ok() ? QStringLiteral("El servidor respondió algo que no se entiende.")
                             : answer.error);
            return;
        }
        std::unordered_map<std::string, std::size_t> byHref;
        for (std::size_t i = 0; i < m_input.server.size(); ++i)
            byHref.emplace(m_input.server[i].href, i);
        for (const DavResource& resource : cards->resources) {
            const auto found = byHref.find(hrefOf(resource.href));
            if (found == byHref.end() || resource.status != 200)
                continue;
            mirror::ServerCard& card = m_input.server[found->second];
            card.text = resource.data.toStdString();
            if (!resource.etag.isEmpty())
                card.etag = resource.etag.toStdString();
        }
        fetchCards(std::move(hrefs), to);
    });
}

void BookSync::plan()
{
    step("plan");
    m_plan = mirror::planSync(m_input);
    step("write");
    writeServer();
}

void BookSync::writeServer()
{
    m_nextWrite = 0;
    m_writesInFlight = 0;
    m_writeStop = WriteStop::None;
    sendWrites();
}

void BookSync::sendWrites()
{
    // A few writes at a time: the round trips overlap while the server takes each in turn.
    while (m_writeStop == WriteStop::None && m_writesInFlight < kWritesAtOnce &&
           m_nextWrite < m_plan.server.size())
        sendWrite(m_nextWrite++);
    if (m_writesInFlight > 0)
        return;
    switch (m_writeStop) {
    case WriteStop::None:
        writeBook();
        break;
    case WriteStop::ChangedMeanwhile:
        again();
        break;
    case WriteStop::Failed:
        fail(m_writeError);
        break;
    }
}

void BookSync::sendWrite(std::size_t index)
{
    const mirror::ServerWrite& write = m_plan.server[index];
    DavCall call;
    call.url = urlOf(write.href);
    switch (write.kind) {
    case mirror::ServerWrite::Kind::Create:
        call.method = "PUT";
        call.ifNoneMatchAny = true;
        break;
    case mirror::ServerWrite::Kind::Update:
        call.method = "PUT";
        call.ifMatch = QByteArray::fromStdString(write.etag);
        break;
    case mirror::ServerWrite::Kind::Delete:
        call.method = "DELETE";
        call.ifMatch = QByteArray::fromStdString(write.etag);
        break;
    }
    call.body = QByteArray::fromStdString(write.text);
    call.contentType = "text/vcard; charset=utf-8";
    ++m_writesInFlight;
    m_client.send(call, [this, index](const DavAnswer& answer) {
        --m_writesInFlight;
        const mirror::ServerWrite& write = m_plan.server[index];
        const bool gone = write.kind == mirror::ServerWrite::Kind::Delete && answer.status == 404;
        if (answer.status == 412) {
            // The card changed since it was read: read again, plan again.
            if (m_writeStop == WriteStop::None)
                m_writeStop = WriteStop::ChangedMeanwhile;
        } else if (!answer.ok() && !gone) {
            if (m_writeStop != WriteStop::Failed)
                m_writeError = answer.error;
            m_writeStop = WriteStop::Failed;
        } else {
            mirror::recordWrite(m_plan, write, answer.etag.toStdString());
            step("written");
        }
        sendWrites();
    });
}

void BookSync::writeBook()
{
    step("book");
    const contacts::ContactBatch& batch = m_plan.book;
    if (!batch.additions.empty() || !batch.replacements.empty() || !batch.removals.empty()) {
        contacts::ChangeAnswer answer = m_store.apply(batch);
        if (answer.outcome == contacts::ChangeAnswer::Outcome::Refused) {
            m_bookAnswer = std::move(answer);
            again();
            return;
        }
        if (answer.outcome == contacts::ChangeAnswer::Outcome::Failed) {
            const QString error = QString::fromStdString(answer.error);
            m_bookAnswer = std::move(answer);
            fail(error);
            return;
        }
        m_bookAnswer = std::move(answer);
    }
    syncCalendar();
}

void BookSync::syncCalendar()
{
    step("calendar");
    m_eventWrites.clear();
    if (m_account.calendar.isEmpty()) {
        writeState();
        return;
    }
    contacts::ContactStore reader(m_env.programDir);
    const contacts::LoadResult loaded = reader.load(contacts::ContactStore::WhenMissing::Leave);
    std::unordered_map<std::string, const mirror::SyncedEvent*> known;
    const std::string calendarPath = m_account.calendar.path(QUrl::FullyDecoded).toStdString();
    if (m_plan.state.calendar != calendarPath) {
        m_plan.state.calendar = calendarPath;
        m_plan.state.events.clear();
    }
    for (const mirror::SyncedEvent& event : m_plan.state.events)
        known.emplace(event.uid, &event);
    std::vector<mirror::SyncedEvent> kept;
    std::unordered_map<std::string, bool> wanted;
    for (const contacts::Contact& contact : loaded.book.contacts) {
        const exchange::ContactValues values = exchange::toContactValues(contact);
        const auto birthday = contacts::parseBirthday(values.birthday);
        if (!birthday || !contacts::isCalendarDay(*birthday))
            continue;
        const std::string uid = exchange::birthdayEventUid(values.name);
        if (!wanted.emplace(uid, true).second)
            continue;
        const std::string content = values.name + "\t" + contacts::shortBirthdayText(*birthday);
        const auto found = known.find(uid);
        if (found != known.end() && found->second->content == content) {
            kept.push_back(*found->second);
            continue;
        }
        const auto text = exchange::writeBirthdayEvent(values, m_env.now());
        if (!text)
            continue;
        mirror::SyncedEvent event{uid, {}, {}, content};
        if (found != known.end()) {
            event.href = found->second->href;
            event.etag = found->second->etag;
        } else {
            std::string href = calendarPath;
            if (!href.ends_with('/'))
                href += '/';
            event.href = href + uid + ".ics";
        }
        m_eventWrites.push_back({false, event, QByteArray::fromStdString(*text)});
    }
    for (const mirror::SyncedEvent& event : m_plan.state.events) {
        if (!wanted.contains(event.uid))
            m_eventWrites.push_back({true, event, {}});
    }
    m_plan.state.events = std::move(kept);
    writeCalendarEvent(0);
}

void BookSync::writeCalendarEvent(std::size_t next)
{
    if (next >= m_eventWrites.size()) {
        writeState();
        return;
    }
    const EventWrite& write = m_eventWrites[next];
    QUrl url = m_account.calendar;
    url.setPath(QString::fromStdString(write.event.href), QUrl::DecodedMode);
    DavCall call{write.remove ? QByteArray("DELETE") : QByteArray("PUT"), url, write.text,
                 "text/calendar; charset=utf-8"};
    if (!write.event.etag.empty())
        call.ifMatch = QByteArray::fromStdString(write.event.etag);
    else if (!write.remove)
        call.ifNoneMatchAny = true;
    m_client.send(call, [this, next, call](const DavAnswer& answer) {
        EventWrite& write = m_eventWrites[next];
        if (answer.status == 412 && !write.remove) {
            // An event of ours already stands there (a sync cut off after writing it), or was
            // changed on a phone: the book's event replaces it.
            DavCall again = call;
            again.ifMatch.clear();
            again.ifNoneMatchAny = false;
            m_client.send(again, [this, next](const DavAnswer& second) {
                if (!second.ok()) {
                    fail(second.error);
                    return;
                }
                m_eventWrites[next].event.etag = second.etag.toStdString();
                m_plan.state.events.push_back(m_eventWrites[next].event);
                writeCalendarEvent(next + 1);
            });
            return;
        }
        const bool gone = write.remove && (answer.status == 404 || answer.status == 412);
        if (!answer.ok() && !gone) {
            fail(answer.error);
            return;
        }
        if (!write.remove) {
            write.event.etag = answer.etag.toStdString();
            m_plan.state.events.push_back(write.event);
        }
        writeCalendarEvent(next + 1);
    });
}

void BookSync::writeState()
{
    step("state");
    mirror::SyncState& state = m_plan.state;
    if (!m_newSyncToken.empty())
        state.syncToken = m_newSyncToken;
    // Our own writes moved the tag: the next sync lists the ETags once and finds them its own.
    state.ctag = m_plan.server.empty() ? m_newCtag : std::string();
    if (!mirror::writeState(m_env.programDir, state)) {
        fail(
            QStringLiteral("No se pudo guardar el estado de la sincronización (%1).")
                .arg(QString::fromStdString((m_env.programDir / mirror::kStateFileName).string())));
        return;
    }
    SyncOutcome outcome;
    outcome.ok = true;
    outcome.summary = m_plan.summary;
    outcome.book = std::move(m_bookAnswer);
    outcome.requests = m_client.requestsSent();
    emit finished(outcome);
}

} // namespace carddav
