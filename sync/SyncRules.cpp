#include "sync/SyncRules.h"

#include "contacts/Birthday.h"
#include "contacts/BirthdayMarkers.h"
#include "contacts/ContactIdentity.h"
#include "contacts/DuplicateNames.h"
#include "contacts/Windows1252.h"
#include "exchange/BirthDate.h"
#include "exchange/CardEditor.h"
#include "exchange/ContactAdapter.h"
#include "exchange/StableUid.h"
#include "exchange/StorageProblem.h"
#include "exchange/VCardWriter.h"

#include <algorithm>
#include <map>
#include <unordered_map>

namespace mirror {
namespace {

using contacts::ContactField;
using contacts::Fields;

constexpr std::array kMirroredFields = {
    ContactField::Name,  ContactField::Alias,   ContactField::Age,   ContactField::Birthday,
    ContactField::Phone, ContactField::Address, ContactField::Email, ContactField::Note};

Fields fieldsOf(const contacts::Contact& contact)
{
    Fields fields;
    for (ContactField field : kMirroredFields)
        fields[field] = std::string(contact.field(field));
    return fields;
}

Fields fieldsOfLine(std::string_view line)
{
    const auto contact = contacts::Contact::fromStoredLine(line);
    return contact ? fieldsOf(*contact) : Fields{};
}

bool sameBirthday(std::string_view a, std::string_view b)
{
    if (a == b)
        return true;
    const auto dayA = contacts::parseBirthday(a);
    return dayA && dayA == contacts::parseBirthday(b);
}

// The two sides hold the same value, each in its own form.
bool sameValue(ContactField field, std::string_view a, std::string_view b)
{
    return field == ContactField::Birthday ? sameBirthday(a, b) : a == b;
}

std::string utf8(std::string_view bytes)
{
    return contacts::windows1252ToUtf8(bytes);
}

// What one sync knows of the day.
struct Days {
    std::optional<std::chrono::year_month_day> lastSync;
    std::chrono::year_month_day today;
};

// Whether the user changed the book's age since the last sync. The reminder advances it on each
// birthday, and a birthday the computer never saw leaves it as it was: neither is a change.
bool bookAgeChanged(const Fields& now, const Fields& base, const Days& days)
{
    const std::string& ageNow = now[ContactField::Age];
    const std::string& ageBase = base[ContactField::Age];
    if (ageNow == ageBase)
        return false;
    const auto numberNow = contacts::parseSmallNumber(ageNow);
    const auto numberBase = contacts::parseSmallNumber(ageBase);
    const auto dayMonth = contacts::parseBirthday(now[ContactField::Birthday]);
    if (!numberNow || !numberBase || !dayMonth || !days.lastSync)
        return true;
    return *numberNow < *numberBase ||
           *numberNow > *numberBase + birthdaysBetween(*dayMonth, *days.lastSync, days.today);
}

bool bookChanged(ContactField field, const Fields& now, const Fields& base, const Days& days)
{
    return field == ContactField::Age ? bookAgeChanged(now, base, days)
                                      : !sameValue(field, now[field], base[field]);
}

bool cardChanged(ContactField field, const Fields& now, const Fields& base)
{
    return !sameValue(field, now[field], base[field]);
}

// The card's value as the book stores it. The age comes from the year; a card without one
// leaves the book's age as it is.
std::string bookFormOfCard(ContactField field, const Fields& card, const Fields& book,
                           const Days& days)
{
    if (field == ContactField::Age)
        return ageFromYear(card, days.today).value_or(book[ContactField::Age]);
    if (field == ContactField::Birthday) {
        const auto dayMonth = contacts::parseBirthday(card[field]);
        return dayMonth ? exchange::storedBirthday(*dayMonth) : card[field];
    }
    return card[field];
}

// The book's value as the card holds it. An age gives the year of birth it implies, only to a
// card that has a year.
std::string cardFormOfBook(ContactField field, const Fields& book, const Fields& card,
                           const Days& days)
{
    if (field != ContactField::Age)
        return book[field];
    const auto age = contacts::parseSmallNumber(book[ContactField::Age]);
    const auto dayMonth = contacts::parseBirthday(book[ContactField::Birthday]);
    if (card[ContactField::Age].empty() || !age || !dayMonth)
        return card[ContactField::Age];
    const auto year = exchange::birthYearFor(*dayMonth, *age, days.today);
    return year ? std::to_string(*year) : card[ContactField::Age];
}

// Whether the book's age and the card's year say the same today.
bool sameAge(const Fields& book, const Fields& card, const Days& days)
{
    const auto fromYear = ageFromYear(card, days.today);
    return !fromYear || *fromYear == book[ContactField::Age];
}

// The edit that takes a card from `from` to `to`, both in the book's form (the age field a
// year).
exchange::CardChange cardChange(const Fields& from, const Fields& to)
{
    exchange::CardChange change;
    const auto set = [&](ContactField field, std::optional<std::string>& target) {
        if (from[field] != to[field])
            target = utf8(to[field]);
    };
    set(ContactField::Name, change.name);
    set(ContactField::Alias, change.alias);
    set(ContactField::Phone, change.phone);
    set(ContactField::Address, change.address);
    set(ContactField::Email, change.email);
    set(ContactField::Note, change.note);
    if (!sameBirthday(from[ContactField::Birthday], to[ContactField::Birthday]) ||
        from[ContactField::Age] != to[ContactField::Age]) {
        if (const auto dayMonth = contacts::parseBirthday(to[ContactField::Birthday])) {
            exchange::BirthDate birth{*dayMonth, contacts::parseSmallNumber(to[ContactField::Age])};
            change.birthday = exchange::formatBirthDate(birth);
        }
    }
    return change;
}

contacts::Contact contactOf(const Fields& fields)
{
    contacts::Contact::Values values;
    for (ContactField field : kMirroredFields)
        values[field] = fields[field];
    return contacts::Contact(values);
}

// The card a new contact becomes, as the export writes it: the age gives the year of birth.
std::string newCardText(const Fields& book, const std::string& uid, const Days& days)
{
    exchange::ContactValues values = exchange::toContactValues(contactOf(book));
    std::string text = exchange::writeVCards(std::span(&values, 1), days.today);
    // The export names the card by its contact's name; a sync card keeps the UID it is known by.
    const std::string exportedUid = exchange::stableUid(values.name, "contacto");
    if (const size_t at = text.find("UID:" + exportedUid); at != std::string::npos)
        text.replace(at + 4, exportedUid.size(), uid);
    return text;
}

std::string hrefFor(const std::string& collection, const std::string& uid)
{
    std::string name;
    for (char c : uid) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
        name += plain ? c : '-';
    }
    std::string href = collection;
    if (!href.ends_with('/'))
        href += '/';
    return href + name + ".vcf";
}

bool mirroredInBook(const contacts::Contact& contact)
{
    const auto dayMonth = contacts::parseBirthday(contact.birthday());
    return dayMonth && contacts::isCalendarDay(*dayMonth);
}

class Planner {
public:
    explicit Planner(const SyncInput& input)
        : m_in(input), m_days{input.state.lastSync, input.today}
    {
        for (std::size_t i = 0; i < input.server.size(); ++i)
            m_byHref.emplace(input.server[i].href, i);
        m_bookUsed.assign(input.book.size(), false);
        m_serverUsed.assign(input.server.size(), false);
        m_bookLines.reserve(input.book.size());
        for (const contacts::Contact& contact : input.book)
            m_bookLines.push_back(contact.storedLine());
    }

    SyncPlan run()
    {
        m_plan.state = m_in.state;
        m_plan.state.pairs.clear();
        m_plan.state.lastSync = m_in.today;
        for (const SyncedPair& pair : m_in.state.pairs)
            followPair(pair);
        pairNewOnes();
        m_plan.summary.received = m_plan.book.additions.size() + m_plan.book.replacements.size() +
                                  m_plan.book.removals.size();
        m_plan.summary.sent = m_plan.server.size();
        return std::move(m_plan);
    }

    // The book's contact of a pair: its tracked line, or the one line with that line's name.
    std::optional<std::size_t> bookOf(const SyncedPair& pair) const
    {
        const std::string& line = pair.trackedLine.empty() ? pair.bookLine : pair.trackedLine;
        const auto tracked = contacts::Contact::fromStoredLine(line);
        if (!tracked)
            return std::nullopt;
        const contacts::OwnLines own = contacts::ownLines(m_bookLines, *tracked);
        if (own.lines.empty())
            return std::nullopt;
        return own.lines.front();
    }

private:
    const ServerCard* cardAt(const std::string& href)
    {
        const auto found = m_byHref.find(href);
        if (found == m_byHref.end())
            return nullptr;
        m_serverUsed[found->second] = true;
        return &m_in.server[found->second];
    }

    std::size_t keepPair(SyncedPair pair)
    {
        m_plan.state.pairs.push_back(std::move(pair));
        return m_plan.state.pairs.size() - 1;
    }

    void noteTransliterated(const MirroredCard& card)
    {
        m_plan.summary.transliterated.insert(m_plan.summary.transliterated.end(),
                                             card.transliterated.begin(),
                                             card.transliterated.end());
    }

    void addToBook(const Fields& fields)
    {
        const contacts::Contact contact = contactOf(fields);
        m_plan.book.additions.push_back(contact);
        markTodaysAgeFromYear(fields);
    }

    // An age computed from a card's year already counts every birthday up to today's: the
    // reminder must not advance it once more, today or in its catch-up of the days it missed.
    void markTodaysAgeFromYear(const Fields& book)
    {
        for (contacts::MarkerFile& marker :
             contacts::currentAgeMarkers(book[ContactField::Birthday], book[ContactField::Name],
                                         book[ContactField::Alias], m_days.today, true))
            m_plan.book.markers.push_back(std::move(marker));
    }

    void followPair(const SyncedPair& pair)
    {
        const ServerCard* card = cardAt(pair.href);
        const std::optional<std::size_t> bookIndex = bookOf(pair);
        if (bookIndex)
            m_bookUsed[*bookIndex] = true;
        const Fields bookBase = fieldsOfLine(pair.bookLine);

        // What the card holds now, in the book's form.
        std::optional<Fields> cardNow;
        if (card && card->etag == pair.etag) {
            cardNow = pair.card;
        } else if (card) {
            if (!card->text) { // not fetched: this sync leaves the pair as it was
                keepPair(pair);
                return;
            }
            const CardReading reading = readMirroredCard(*card->text, m_days.today);
            if (!reading.hasBirthday) {
                // The card stays on the server and the contact in the book, no longer paired.
                m_plan.summary.notMirrored.push_back(
                    "«" + utf8(pair.card[ContactField::Name]) +
                    "» ya no tiene cumpleaños en el servidor: se deja de sincronizar.");
                return;
            }
            if (!reading.card) {
                m_plan.summary.notMirrored.push_back(reading.problem);
                keepPair(pair);
                return;
            }
            noteTransliterated(*reading.card);
            cardNow = reading.card->fields;
        }
        const bool cardChangedAtAll =
            cardNow && std::ranges::any_of(kMirroredFields, [&](ContactField field) {
                return cardChanged(field, *cardNow, pair.card);
            });

        if (!bookIndex) {
            if (!cardNow)
                return; // gone on both sides
            if (!cardChangedAtAll) {
                m_plan.server.push_back(
                    {ServerWrite::Kind::Delete, pair.href, card->etag, {}, std::nullopt});
                return;
            }
            // Removed here, changed there: the change comes back.
            Fields book = *cardNow;
            for (ContactField field : kMirroredFields)
                book[field] = bookFormOfCard(field, *cardNow, bookBase, m_days);
            addToBook(book);
            const contacts::Contact added = m_plan.book.additions.back();
            keepPair({pair.uid, pair.href, card->etag, added.line(), added.line(), *cardNow});
            return;
        }

        const contacts::Contact& contact = m_in.book[*bookIndex];
        const Fields bookNow = fieldsOf(contact);
        const bool bookChangedAtAll = std::ranges::any_of(kMirroredFields, [&](ContactField field) {
            return bookChanged(field, bookNow, bookBase, m_days);
        });
        if (!cardNow) {
            if (!bookChangedAtAll) {
                m_plan.book.removals.push_back(contact);
                return;
            }
            // Removed there, changed here: the contact goes back to the server.
            const std::size_t index =
                keepPair({pair.uid, pair.href, {}, std::string(contact.storedLine()), {}, {}});
            recreateCard(index, bookNow);
            return;
        }

        // On both sides: field by field.
        Fields bookAfter = bookNow;
        Fields cardAfter = *cardNow;
        for (ContactField field : kMirroredFields) {
            const bool here = bookChanged(field, bookNow, bookBase, m_days);
            const bool there = cardChanged(field, *cardNow, pair.card);
            if (there && !here) {
                bookAfter[field] = bookFormOfCard(field, *cardNow, bookNow, m_days);
            } else if (here) {
                cardAfter[field] = cardFormOfBook(field, bookNow, *cardNow, m_days);
                const bool differ = field == ContactField::Age
                                        ? !sameAge(bookNow, *cardNow, m_days)
                                        : !sameValue(field, bookNow[field], (*cardNow)[field]);
                if (there && differ)
                    m_plan.summary.conflicts.push_back(
                        {bookNow[ContactField::Name], field, bookNow[field], (*cardNow)[field]});
            }
        }
        if (bookAfter[ContactField::Age] != bookNow[ContactField::Age])
            markTodaysAgeFromYear(bookAfter);
        finishPair(pair.uid, pair.href, card, contact, bookAfter, *cardNow, cardAfter);
    }

    // Writes what changed on either side and keeps the pair as it will stand.
    void finishPair(const std::string& uid, const std::string& href, const ServerCard* card,
                    const contacts::Contact& contact, const Fields& bookAfter,
                    const Fields& cardNow, const Fields& cardAfter)
    {
        std::string line(contact.storedLine());
        if (bookAfter != fieldsOf(contact)) {
            const contacts::Contact changed = contactOf(bookAfter);
            m_plan.book.replacements.push_back({contact, changed});
            line = changed.line();
        }
        const std::size_t index = keepPair({uid, href, card->etag, line, line, cardAfter});
        const exchange::CardChange change = cardChange(cardNow, cardAfter);
        if (change.empty())
            return;
        if (!card->text) {
            m_plan.state.pairs[index].card = cardNow; // unchanged: written at the next sync
            return;
        }
        m_plan.server.push_back({ServerWrite::Kind::Update, href, card->etag,
                                 exchange::editCard(*card->text, change), index});
    }

    void recreateCard(std::size_t index, const Fields& book)
    {
        SyncedPair& pair = m_plan.state.pairs[index];
        pair.card = cardFieldsOfNewCard(book);
        m_plan.server.push_back(
            {ServerWrite::Kind::Create, pair.href, {}, newCardText(book, pair.uid, m_days), index});
    }

    // What a card made from the book holds, in the book's form.
    Fields cardFieldsOfNewCard(const Fields& book) const
    {
        Fields card = book;
        const auto age = contacts::parseSmallNumber(book[ContactField::Age]);
        const auto dayMonth = contacts::parseBirthday(book[ContactField::Birthday]);
        std::optional<int> year;
        if (age && dayMonth)
            year = exchange::birthYearFor(*dayMonth, *age, m_days.today);
        card[ContactField::Age] = year ? std::to_string(*year) : std::string();
        if (dayMonth)
            card[ContactField::Birthday] = exchange::storedBirthday(*dayMonth);
        return card;
    }

    void pairNewOnes()
    {
        // The server's new cards, by name.
        struct NewCard {
            std::size_t server;
            MirroredCard card;
        };
        std::vector<NewCard> newCards;
        std::unordered_map<std::string, std::size_t> cardByName;
        for (std::size_t i = 0; i < m_in.server.size(); ++i) {
            const ServerCard& card = m_in.server[i];
            if (m_serverUsed[i] || !card.text)
                continue;
            CardReading reading = readMirroredCard(*card.text, m_days.today);
            if (!reading.hasBirthday)
                continue;
            if (!reading.card) {
                m_plan.summary.notMirrored.push_back(reading.problem);
                continue;
            }
            const std::string key = contacts::nameKey(reading.card->fields[ContactField::Name]);
            if (!cardByName.emplace(key, newCards.size()).second) {
                m_plan.summary.notMirrored.push_back(
                    "«" + utf8(reading.card->fields[ContactField::Name]) +
                    "»: otra tarjeta del servidor lleva el mismo nombre.");
                continue;
            }
            newCards.push_back({i, std::move(*reading.card)});
        }
        std::vector<bool> cardTaken(newCards.size(), false);

        // The book's new contacts: with a card of their name, one contact; else a new card.
        std::unordered_map<std::string, bool> bookNames;
        for (std::size_t i = 0; i < m_in.book.size(); ++i)
            bookNames.emplace(contacts::nameKey(m_in.book[i].name()), true);
        for (const std::string& name : m_in.unreadableNames)
            bookNames.emplace(contacts::nameKey(name), true);
        for (std::size_t i = 0; i < m_in.book.size(); ++i) {
            if (m_bookUsed[i])
                continue;
            const contacts::Contact& contact = m_in.book[i];
            if (!mirroredInBook(contact)) {
                m_plan.summary.notMirrored.push_back(
                    "«" + utf8(contact.name()) +
                    "»: su fecha de cumpleaños no es un día del calendario.");
                continue;
            }
            const auto found = cardByName.find(contacts::nameKey(contact.name()));
            if (found == cardByName.end()) {
                createCard(contact);
                continue;
            }
            cardTaken[found->second] = true;
            const NewCard& card = newCards[found->second];
            noteTransliterated(card.card);
            joinNewOnBothSides(contact, m_in.server[card.server], card.card);
        }
        // The server's new cards the book lacks.
        for (std::size_t c = 0; c < newCards.size(); ++c) {
            if (cardTaken[c])
                continue;
            const NewCard& card = newCards[c];
            const Fields& fields = card.card.fields;
            if (bookNames.contains(contacts::nameKey(fields[ContactField::Name]))) {
                m_plan.summary.notMirrored.push_back(
                    "«" + utf8(fields[ContactField::Name]) +
                    "»: la libreta ya tiene un contacto con ese nombre.");
                continue;
            }
            noteTransliterated(card.card);
            Fields book = fields;
            for (ContactField field : kMirroredFields)
                book[field] = bookFormOfCard(field, fields, Fields{}, m_days);
            addToBook(book);
            const contacts::Contact added = m_plan.book.additions.back();
            const ServerCard& server = m_in.server[card.server];
            keepPair({uidOf(card.card, server), server.href, server.etag, added.line(),
                      added.line(), fields});
        }
    }

    static std::string uidOf(const MirroredCard& card, const ServerCard& server)
    {
        return card.uid.empty() ? server.href : card.uid;
    }

    void createCard(const contacts::Contact& contact)
    {
        const std::string uid = exchange::stableUid(contact.name(), "contacto");
        const std::string href = hrefFor(m_in.collection, uid);
        const std::string line(contact.storedLine());
        const std::size_t index = keepPair({uid, href, {}, line, line, {}});
        recreateCard(index, fieldsOf(contact));
    }

    // One contact of a name on each side: the book's values first, its empty ones from the card.
    void joinNewOnBothSides(const contacts::Contact& contact, const ServerCard& server,
                            const MirroredCard& card)
    {
        const Fields bookNow = fieldsOf(contact);
        Fields bookAfter = bookNow;
        Fields cardAfter = card.fields;
        for (ContactField field : kMirroredFields) {
            if (bookNow[field].empty())
                bookAfter[field] = bookFormOfCard(field, card.fields, bookNow, m_days);
            else if (field == ContactField::Age
                         ? !sameAge(bookNow, card.fields, m_days)
                         : !sameValue(field, bookNow[field], card.fields[field]))
                cardAfter[field] = cardFormOfBook(field, bookNow, card.fields, m_days);
        }
        if (bookAfter[ContactField::Age] != bookNow[ContactField::Age])
            markTodaysAgeFromYear(bookAfter);
        finishPair(uidOf(card, server), server.href, &server, contact, bookAfter, card.fields,
                   cardAfter);
    }

    const SyncInput& m_in;
    const Days m_days;
    std::unordered_map<std::string, std::size_t> m_byHref;
    std::vector<bool> m_bookUsed;
    std::vector<bool> m_serverUsed;
    std::vector<std::string_view> m_bookLines;
    SyncPlan m_plan;
};

} // namespace

int birthdaysBetween(contacts::DayMonth dayMonth, std::chrono::year_month_day from,
                     std::chrono::year_month_day to)
{
    using namespace std::chrono;
    if (sys_days(to) <= sys_days(from))
        return 0;
    int count = 0;
    for (int year = static_cast<int>(from.year()); year <= static_cast<int>(to.year()); ++year) {
        const unsigned month = static_cast<unsigned>(dayMonth.month);
        year_month_day day{std::chrono::year{year}, std::chrono::month{month},
                           std::chrono::day{static_cast<unsigned>(dayMonth.day)}};
        if (!day.ok()) // 29 February of a common year: the 28th
            day = year_month_day{std::chrono::year{year}, std::chrono::month{month},
                                 std::chrono::day{28}};
        if (sys_days(day) > sys_days(from) && sys_days(day) <= sys_days(to))
            ++count;
    }
    return count;
}

std::vector<std::string> cardsToFetch(const SyncInput& input)
{
    std::unordered_map<std::string, const SyncedPair*> paired;
    for (const SyncedPair& pair : input.state.pairs)
        paired.emplace(pair.href, &pair);
    const Planner planner(input);
    const Days days{input.state.lastSync, input.today};
    std::vector<std::string> hrefs;
    for (const ServerCard& card : input.server) {
        const auto found = paired.find(card.href);
        if (found == paired.end() || found->second->etag != card.etag) {
            hrefs.push_back(card.href);
            continue;
        }
        const SyncedPair& pair = *found->second;
        const auto book = planner.bookOf(pair);
        if (!book)
            continue;
        const Fields now = fieldsOf(input.book[*book]);
        const Fields base = fieldsOfLine(pair.bookLine);
        if (std::ranges::any_of(kMirroredFields, [&](ContactField field) {
                return bookChanged(field, now, base, days);
            }))
            hrefs.push_back(card.href);
    }
    return hrefs;
}

bool SyncPlan::changesNothing() const
{
    return book.additions.empty() && book.replacements.empty() && book.removals.empty() &&
           server.empty();
}

SyncPlan planSync(const SyncInput& input)
{
    return Planner(input).run();
}

void recordWrite(SyncPlan& plan, const ServerWrite& write, const std::string& etag)
{
    if (write.pair)
        plan.state.pairs.at(*write.pair).etag = etag;
}

} // namespace mirror
