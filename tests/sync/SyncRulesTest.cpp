#include "sync/SyncRules.h"

#include "tests/support/FileText.h"

#include <gtest/gtest.h>
#include <map>

using namespace mirror;
using namespace std::chrono;
using contacts::ContactField;

namespace {

const year_month_day kFirstDay = 2026y / December / 8d;
const std::string kCollection = "/ana/libreta/";

// Both sides as a sync leaves them: the book's lines, the server's cards by href, and the state.
// Writes are applied as the server and the store take them.
struct Sides {
    std::vector<std::string> book;                                     // stored lines, Windows-1252
    std::map<std::string, std::pair<std::string, std::string>> server; // href: etag, text
    SyncState state;
    int etags = 0;
    SyncSummary lastSummary;

    std::vector<contacts::Contact> contacts() const
    {
        std::vector<contacts::Contact> result;
        for (const std::string& line : book)
            result.push_back(*contacts::Contact::fromStoredLine(line));
        return result;
    }

    void putCard(const std::string& href, const std::string& text)
    {
        server[href] = {"\"e" + std::to_string(++etags) + "\"", text};
    }

    SyncPlan sync(year_month_day today)
    {
        SyncInput input{contacts(), {}, state, {}, kCollection, today};
        for (const auto& [href, card] : server)
            input.server.push_back({href, card.first, std::nullopt});
        const std::vector<std::string> wanted = cardsToFetch(input);
        for (ServerCard& card : input.server) {
            if (std::find(wanted.begin(), wanted.end(), card.href) != wanted.end())
                card.text = server[card.href].second;
        }
        SyncPlan plan = planSync(input);
        for (const ServerWrite& write : plan.server) {
            if (write.kind == ServerWrite::Kind::Delete) {
                server.erase(write.href);
                continue;
            }
            putCard(write.href, write.text);
            recordWrite(plan, write, server[write.href].first);
        }
        const auto leaves = [&](const contacts::Contact& gone) {
            std::erase(book, std::string(gone.storedLine()));
        };
        for (const contacts::Contact& removed : plan.book.removals)
            leaves(removed);
        for (const contacts::Replacement& replacement : plan.book.replacements)
            leaves(replacement.stored);
        for (const contacts::Replacement& replacement : plan.book.replacements)
            book.push_back(replacement.changed.line());
        for (const contacts::Contact& added : plan.book.additions)
            book.push_back(added.line());
        state = plan.state;
        lastSummary = plan.summary;
        return plan;
    }

    const std::string& onlyCard() const { return server.begin()->second.second; }
};

std::string line(const std::string& name, const std::string& age, const std::string& note = "",
                 const std::string& phone = "")
{
    return recordLine({name, "", age, "05/03", phone, "", "", note});
}

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

// A book of one contact, synced once to an empty address book.
Sides syncedOnce()
{
    Sides sides;
    sides.book = {line("Ana", "30", "prima")};
    sides.sync(kFirstDay);
    EXPECT_EQ(sides.server.size(), 1u);
    return sides;
}

} // namespace

TEST(SyncRules, TheFirstSyncSendsTheBookWithYearsOfBirth)
{
    Sides sides = syncedOnce();
    EXPECT_NE(sides.onlyCard().find("BDAY:1996-03-05"), std::string::npos);
    EXPECT_EQ(sides.lastSummary.sent, 1u);
    // Nothing changed since: nothing to do, and no card to fetch.
    const SyncPlan again = sides.sync(kFirstDay);
    EXPECT_TRUE(again.changesNothing());
}

struct ChangeCase {
    const char* what;
    std::function<void(Sides&)> change;
    year_month_day on;
    std::vector<std::string> book;      // afterwards
    std::vector<std::string> cardHolds; // pieces the card holds afterwards ("" for no card)
    std::size_t sent;
    std::size_t conflicts;
};

// ctest lists a case by what it tries, not by its bytes.
void PrintTo(const ChangeCase& c, std::ostream* out)
{
    *out << c.what;
}

class SyncChange : public testing::TestWithParam<ChangeCase> {};

TEST_P(SyncChange, BringsBothSidesInStep)
{
    const ChangeCase& c = GetParam();
    Sides sides = syncedOnce();
    c.change(sides);
    const SyncPlan plan = sides.sync(c.on);
    EXPECT_EQ(sides.book, c.book);
    if (c.cardHolds.empty()) {
        EXPECT_TRUE(sides.server.empty());
    } else {
        ASSERT_EQ(sides.server.size(), 1u);
        for (const std::string& piece : c.cardHolds)
            EXPECT_NE(sides.onlyCard().find(piece), std::string::npos) << piece;
    }
    EXPECT_EQ(plan.summary.sent, c.sent);
    EXPECT_EQ(plan.summary.conflicts.size(), c.conflicts);
    // The next sync finds both sides in step.
    EXPECT_TRUE(sides.sync(c.on).changesNothing());
}

const auto kCard = [](Sides& s) -> std::string& { return s.server.begin()->second.second; };
const auto kChangeCard = [](Sides& s, const std::string& from, const std::string& to) {
    const std::string href = s.server.begin()->first;
    s.putCard(href, replaced(kCard(s), from, to));
};

INSTANTIATE_TEST_SUITE_P(
    Sides, SyncChange,
    testing::Values(
        ChangeCase{"the phone set on the phone: the book takes it",
                   [](Sides& s) { kChangeCard(s, "NOTE:prima", "TEL:600\r\nNOTE:prima"); },
                   kFirstDay,
                   {line("Ana", "30", "prima", "600")},
                   {"TEL:600"},
                   0,
                   0},
        ChangeCase{"the note changed in the book: the card takes it",
                   [](Sides& s) { s.book = {line("Ana", "30", "sobrina")}; },
                   kFirstDay,
                   {line("Ana", "30", "sobrina")},
                   {"NOTE:sobrina", "BDAY:1996-03-05"},
                   1,
                   0},
        ChangeCase{"the note changed on both sides: the book's wins and is told",
                   [](Sides& s) {
                       s.book = {line("Ana", "30", "sobrina")};
                       kChangeCard(s, "NOTE:prima", "NOTE:vecina");
                   },
                   kFirstDay,
                   {line("Ana", "30", "sobrina")},
                   {"NOTE:sobrina"},
                   1,
                   1},
        ChangeCase{"removed in the book, the card unchanged: removed on the server",
                   [](Sides& s) { s.book.clear(); },
                   kFirstDay,
                   {},
                   {},
                   1,
                   0},
        ChangeCase{"removed on the server, the contact unchanged: removed from the book",
                   [](Sides& s) { s.server.clear(); },
                   kFirstDay,
                   {},
                   {},
                   0,
                   0},
        ChangeCase{"removed on the server, the note changed in the book: the card comes back",
                   [](Sides& s) {
                       s.server.clear();
                       s.book = {line("Ana", "30", "sobrina")};
                   },
                   kFirstDay,
                   {line("Ana", "30", "sobrina")},
                   {"NOTE:sobrina"},
                   1,
                   0},
        ChangeCase{"removed in the book, the card changed: the contact comes back",
                   [](Sides& s) {
                       s.book.clear();
                       kChangeCard(s, "NOTE:prima", "NOTE:vecina");
                   },
                   kFirstDay,
                   {line("Ana", "30", "vecina")},
                   {"NOTE:vecina"},
                   0,
                   0},
        ChangeCase{"the reminder advanced the age on the birthday: no change for the card",
                   [](Sides& s) {
                       s.book = {recordLine({"Ana", "", "31", "5/3", "", "", "", "prima"})};
                   },
                   2027y / March / 9d,
                   {recordLine({"Ana", "", "31", "5/3", "", "", "", "prima"})},
                   {"BDAY:1996-03-05"},
                   0,
                   0},
        ChangeCase{"a birthday the computer never saw left the age stale: no change either",
                   [](Sides&) {},
                   2027y / March / 9d,
                   {line("Ana", "30", "prima")},
                   {"BDAY:1996-03-05"},
                   0,
                   0},
        ChangeCase{"the user changed the age: the card's year follows",
                   [](Sides& s) { s.book = {line("Ana", "40", "prima")}; },
                   kFirstDay,
                   {line("Ana", "40", "prima")},
                   {"BDAY:1986-03-05"},
                   1,
                   0},
        ChangeCase{"the year changed on the phone as the reminder advanced the age: the "
                   "phone's year, since the advance is no change",
                   [](Sides& s) {
                       s.book = {recordLine({"Ana", "", "31", "5/3", "", "", "", "prima"})};
                       kChangeCard(s, "BDAY:1996-03-05", "BDAY:1990-03-05");
                   },
                   2027y / March / 9d,
                   {recordLine({"Ana", "", "37", "5/3", "", "", "", "prima"})},
                   {"BDAY:1990-03-05"},
                   0,
                   0},
        ChangeCase{"the year changed on the phone: the book's age follows",
                   [](Sides& s) { kChangeCard(s, "BDAY:1996-03-05", "BDAY:1990-03-05"); },
                   kFirstDay,
                   {line("Ana", "36", "prima")},
                   {"BDAY:1990-03-05"},
                   0,
                   0}),
    [](const testing::TestParamInfo<ChangeCase>& info) {
        std::string name;
        for (char c : std::string(info.param.what))
            name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

// The first sync of a book and an address book that both hold a person: one contact, the book's
// values first and the card's where the book has none; the card keeps what the book cannot hold.
TEST(SyncRules, NewOnBothSidesUnderOneNameIsOneContact)
{
    Sides sides;
    sides.book = {recordLine({"Ana", "", "30", "05/03", "", "", "", ""})};
    sides.putCard("/ana/libreta/x.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:x\r\nFN:ana\r\n"
                                        "TEL:600\r\nORG:Panadería\r\nBDAY:--03-05\r\n"
                                        "NOTE:prima\r\nEND:VCARD\r\n");
    sides.sync(kFirstDay);
    EXPECT_EQ(sides.book, (std::vector<std::string>{
                              recordLine({"Ana", "", "30", "05/03", "600", "", "", "prima"})}));
    ASSERT_EQ(sides.server.size(), 1u);
    EXPECT_NE(sides.onlyCard().find("FN:Ana\r\n"), std::string::npos);
    EXPECT_NE(sides.onlyCard().find("ORG:Panadería\r\n"), std::string::npos);
    // A card without a year never gets one.
    EXPECT_NE(sides.onlyCard().find("BDAY:--03-05"), std::string::npos);
    EXPECT_TRUE(sides.sync(kFirstDay).changesNothing());
}

// What the file cannot hold is transliterated into the book and never sent back unless the user
// changes it there; cards without a birthday are left alone.
TEST(SyncRules, TransliteratedValuesStayOnTheServerAndCardsWithoutBirthdayAreLeftAlone)
{
    Sides sides;
    const std::string lukasz = "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:l\r\nFN:Łukasz Wiśniewski\r\n"
                               "BDAY:1990-01-02\r\nEND:VCARD\r\n";
    sides.putCard("/ana/libreta/l.vcf", lukasz);
    sides.putCard("/ana/libreta/n.vcf",
                  "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:n\r\nFN:Sin Fecha\r\nEND:VCARD\r\n");
    const SyncPlan plan = sides.sync(kFirstDay);
    EXPECT_EQ(sides.book, (std::vector<std::string>{recordLine(
                              {"Lukasz Wisniewski", "", "36", "02/01", "", "", "", ""})}));
    EXPECT_EQ(plan.summary.transliterated.size(), 1u);
    EXPECT_TRUE(plan.server.empty());
    // The book's age advances on 2 January; the card keeps its name and year.
    sides.book = {recordLine({"Lukasz Wisniewski", "", "37", "2/1", "", "", "", ""})};
    EXPECT_TRUE(sides.sync(2027y / January / 3d).server.empty());
    EXPECT_EQ(sides.server["/ana/libreta/l.vcf"].second, lukasz);
    EXPECT_EQ(sides.server.size(), 2u);
}

// A contact renamed in the manager is still its card: the card is renamed, never deleted.
TEST(SyncRules, AContactRenamedInTheManagerStaysItsCard)
{
    Sides sides = syncedOnce();
    const std::string href = sides.server.begin()->first;
    sides.book = {line("Ana María", "30", "prima")};
    sides.state.pairs.front().trackedLine = sides.book.front();
    sides.sync(kFirstDay);
    ASSERT_EQ(sides.server.size(), 1u);
    EXPECT_EQ(sides.server.begin()->first, href);
    EXPECT_NE(sides.onlyCard().find("FN:Ana María"), std::string::npos);
}

TEST(SyncRules, BirthdaysBetweenCountsTheTwentyNinthOfFebruaryOnTheTwentyEighth)
{
    EXPECT_EQ(birthdaysBetween({29, 2}, 2026y / December / 8d, 2027y / February / 28d), 1);
    EXPECT_EQ(birthdaysBetween({29, 2}, 2026y / December / 8d, 2027y / February / 27d), 0);
    EXPECT_EQ(birthdaysBetween({5, 3}, 2026y / March / 5d, 2028y / March / 5d), 2);
    EXPECT_EQ(birthdaysBetween({5, 3}, 2027y / March / 5d, 2026y / March / 5d), 0);
}
