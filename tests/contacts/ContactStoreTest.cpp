#include "contacts/ContactStore.h"

#include "contacts/BirthdayMarkers.h"
#include "tests/support/FileText.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace contacts;
using Outcome = ChangeAnswer::Outcome;
using Refusal = ChangeAnswer::Refusal;

namespace {

std::string line(const std::string& name, const std::string& age = "30",
                 const std::string& note = "")
{
    return recordLine({name, "", age, "05/03", "", "", "", note});
}

Contact stored(const std::string& storedLine)
{
    return *Contact::fromStoredLine(storedLine);
}

Contact newContact(const std::string& name, const std::string& age = "30")
{
    return stored(line(name, age));
}

// A store whose list was read from `content`.
struct Loaded {
    explicit Loaded(const std::string& content)
    {
        writeBytes(dir / "data.tvl", content);
        result = store.load();
    }
    std::string bytes() const { return readBytes(dir / "data.tvl"); }

    TempDir dir;
    ContactStore store{dir.path()};
    LoadResult result;
};

std::vector<std::string> names(const std::vector<Contact>& contacts)
{
    std::vector<std::string> names;
    for (const Contact& contact : contacts)
        names.emplace_back(contact.name());
    return names;
}

} // namespace

TEST(LoadContacts, ListsEveryReadableLineAndNumbersTheOthers)
{
    Loaded loaded(fileOf({line("Carla"), "Roto\xA7sin\xA7todo\xA7", line("Ana"), "", line("Bea")}));
    ASSERT_EQ(loaded.result.status, LoadResult::Status::Read);
    EXPECT_EQ(names(loaded.result.book.contacts),
              (std::vector<std::string>{"Carla", "Ana", "Bea"}));
    ASSERT_EQ(loaded.result.book.unreadable.size(), 2u);
    EXPECT_EQ(loaded.result.book.unreadable[0].number, 2u);
    EXPECT_EQ(loaded.result.book.unreadable[0].name, "Roto");
    EXPECT_EQ(loaded.result.book.unreadable[1].number, 4u);
    EXPECT_FALSE(loaded.store.changedOnDisk());
}

TEST(LoadContacts, AMissingFileIsCreatedEmptyAndADirectoryFails)
{
    TempDir dir;
    ContactStore store(dir.path());
    EXPECT_EQ(store.load().status, LoadResult::Status::Created);
    EXPECT_EQ(readBytes(dir / "data.tvl"), "");

    std::filesystem::remove(dir / "data.tvl");
    std::filesystem::create_directory(dir / "data.tvl");
    const LoadResult failed = store.load();
    EXPECT_EQ(failed.status, LoadResult::Status::Failed);
    EXPECT_FALSE(failed.error.empty());
}

TEST(AddContact, AppendsAfterEveryStoredLineAndAnswersTheStoredContact)
{
    Loaded loaded(line("Ana") + "\r\n" + line("Bruno")); // no final line end
    writeBytes(loaded.dir / "data2.tvl", "stale content from an earlier run");
    const ChangeAnswer answer = loaded.store.add(newContact("Dora"));
    ASSERT_EQ(answer.outcome, Outcome::Written) << answer.error;
    EXPECT_EQ(loaded.bytes(), fileOf({line("Ana"), line("Bruno"), line("Dora")}));
    EXPECT_FALSE(std::filesystem::exists(loaded.dir / "data2.tvl"));
    ASSERT_EQ(answer.addedContacts.size(), 1u);
    EXPECT_EQ(answer.addedContacts[0].storedLine(), line("Dora"));
    EXPECT_TRUE(answer.removedLines.empty());
    // The list holds the file: no whole book to read again, and nothing changed on disk.
    EXPECT_FALSE(answer.book);
    EXPECT_FALSE(loaded.store.changedOnDisk());
}

TEST(AddContact, ANameStoredMeanwhileInOtherCapitalsIsRefused)
{
    Loaded loaded(fileOf({line("Ana")}));
    writeBytes(loaded.dir / "data.tvl", fileOf({line("Ana"), line("dora")}));
    const ChangeAnswer answer = loaded.store.add(newContact("DORA"));
    EXPECT_EQ(answer.outcome, Outcome::Refused);
    EXPECT_EQ(answer.refusal, Refusal::NameTaken);
    EXPECT_EQ(loaded.bytes(), fileOf({line("Ana"), line("dora")}));
    ASSERT_TRUE(answer.book);
    EXPECT_EQ(names(answer.book->contacts), (std::vector<std::string>{"Ana", "dora"}));
}

// The identity rule, for a removal and a replacement of the contact read from line("Bea").
struct IdentityCase {
    const char* name;
    std::vector<std::string> linesNow; // the file when the change is made
    std::vector<std::string> removed;  // the lines that leave; empty when refused
    Refusal refusal;
};

void PrintTo(const IdentityCase& c, std::ostream* out)
{
    *out << c.name;
}

class IdentityRule : public testing::TestWithParam<IdentityCase> {};

TEST_P(IdentityRule, OnlyTheContactsOwnLinesLeave)
{
    const IdentityCase& c = GetParam();
    const Contact bea = stored(line("Bea", "41", "de Bea"));
    for (bool replacing : {false, true}) {
        Loaded loaded(fileOf({line("Ana"), line("Bea", "41", "de Bea")}));
        writeBytes(loaded.dir / "data.tvl", fileOf(c.linesNow));
        const Contact changed = newContact("Bea", "50");
        const ChangeAnswer answer =
            replacing ? loaded.store.replace(bea, changed) : loaded.store.remove(bea);

        std::vector<std::string> expected;
        for (const std::string& l : c.linesNow) {
            if (std::find(c.removed.begin(), c.removed.end(), l) == c.removed.end())
                expected.push_back(l);
        }
        if (c.refusal != Refusal::None) {
            EXPECT_EQ(answer.outcome, Outcome::Refused);
            EXPECT_EQ(answer.refusal, c.refusal);
            EXPECT_EQ(loaded.bytes(), fileOf(c.linesNow));
            EXPECT_TRUE(answer.book);
            continue;
        }
        ASSERT_EQ(answer.outcome, Outcome::Written) << answer.error;
        if (replacing)
            expected.push_back(changed.line());
        EXPECT_EQ(loaded.bytes(), fileOf(expected)) << (replacing ? "replace" : "remove");
        EXPECT_EQ(answer.removedLines, c.removed);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Contacts, IdentityRule,
    testing::Values(IdentityCase{"TheLineItWasReadFrom",
                                 {line("Ana"), line("Bea", "41", "de Bea")},
                                 {line("Bea", "41", "de Bea")},
                                 Refusal::None},
                    IdentityCase{
                        "EveryLineEqualToIt",
                        {line("Bea", "41", "de Bea"), line("Ana"), line("Bea", "41", "de Bea")},
                        {line("Bea", "41", "de Bea"), line("Bea", "41", "de Bea")},
                        Refusal::None},
                    IdentityCase{"NotAnotherLineWithItsName",
                                 {line("Bea", "41", "otra"), line("Bea", "41", "de Bea")},
                                 {line("Bea", "41", "de Bea")},
                                 Refusal::None},
                    IdentityCase{"ChangedMeanwhileTheOneLineWithItsName",
                                 {line("Ana"), line("Bea", "42", "de Bea"), line("bea")},
                                 {line("Bea", "42", "de Bea")},
                                 Refusal::None},
                    IdentityCase{"ChangedMeanwhileTwoLinesWithItsName",
                                 {line("Bea", "42"), line("Bea", "43")},
                                 {},
                                 Refusal::ContactAmbiguous},
                    IdentityCase{"Gone", {line("Ana"), line("bea")}, {}, Refusal::ContactGone}),
    [](const auto& info) { return info.param.name; });

TEST(RemoveContact, GoesThroughTheRemovalsTemporaryFileAndCanEmptyTheFile)
{
    Loaded loaded(fileOf({line("Ana")}));
    bool removalTemp = false;
    const RewriteHooks hooks{[&](RewriteStep step) {
        if (step == RewriteStep::TempWritten)
            removalTemp = std::filesystem::exists(loaded.dir / "data.tvl2");
        return true;
    }};
    ASSERT_TRUE(loaded.store.remove(loaded.result.book.contacts[0], hooks).written());
    EXPECT_TRUE(removalTemp);
    EXPECT_EQ(loaded.bytes(), "");
}

TEST(Rewrites, CarryUnreadableLinesByteForByteAndNumberThemAnew)
{
    const std::string odd = std::string("Z\x81\0\xA7sobra", 8);
    Loaded loaded(fileOf({line("Ana"), odd, line("Bea"), "sin terminador"}));
    const auto& contacts = loaded.result.book.contacts;
    ChangeAnswer answer = loaded.store.replace(contacts[0], newContact("Ana", "31"));
    ASSERT_TRUE(answer.written());
    EXPECT_EQ(loaded.bytes(), fileOf({odd, line("Bea"), "sin terminador", line("Ana", "31")}));
    ASSERT_EQ(answer.unreadable.size(), 2u);
    EXPECT_EQ(answer.unreadable[0].number, 1u);
    EXPECT_EQ(answer.unreadable[1].number, 3u);

    answer = loaded.store.remove(contacts[1]);
    ASSERT_TRUE(answer.written());
    EXPECT_EQ(loaded.bytes(), fileOf({odd, "sin terminador", line("Ana", "31")}));
    EXPECT_EQ(answer.unreadable[1].number, 2u);
}

TEST(Rewrites, AFailedRewriteChangesNothing)
{
    Loaded loaded(fileOf({line("Ana")}));
    std::filesystem::create_directory(loaded.dir / "data2.tvl");
    const ChangeAnswer answer = loaded.store.add(newContact("Luis"));
    EXPECT_EQ(answer.outcome, Outcome::Failed);
    EXPECT_FALSE(answer.error.empty());
    EXPECT_TRUE(answer.addedContacts.empty());
    EXPECT_EQ(loaded.bytes(), fileOf({line("Ana")}));
}

TEST(Rewrites, AnotherProgramsChangeIsSeenAndOursAreNot)
{
    Loaded loaded(fileOf({line("Ana")}));
    ASSERT_TRUE(loaded.store.add(newContact("Bea")).written());
    EXPECT_FALSE(loaded.store.changedOnDisk());
    writeBytes(loaded.dir / "otro", fileOf({line("Ana", "31"), line("Bea")}));
    std::filesystem::rename(loaded.dir / "otro", loaded.dir / "data.tvl");
    EXPECT_TRUE(loaded.store.changedOnDisk());
    // A change over that file brings the whole book along.
    const ChangeAnswer answer = loaded.store.add(newContact("Carla"));
    ASSERT_TRUE(answer.book);
    EXPECT_EQ(names(answer.book->contacts), (std::vector<std::string>{"Ana", "Bea", "Carla"}));
    EXPECT_FALSE(loaded.store.changedOnDisk());
}

TEST(Batch, WritesAdditionsAndReplacementsInOneRewrite)
{
    Loaded loaded(fileOf({line("Ana"), line("Bea"), line("Carla")}));
    const auto& contacts = loaded.result.book.contacts;
    int rewrites = 0;
    const RewriteHooks countRewrites{[&](RewriteStep step) {
        rewrites += step == RewriteStep::Locked;
        return true;
    }};
    const ChangeAnswer answer = loaded.store.apply(
        {{newContact("Dora"), newContact("Eva")},
         {{contacts[0], newContact("Ana", "31")}, {contacts[2], newContact("Carla", "41")}}},
        countRewrites);
    ASSERT_TRUE(answer.written());
    EXPECT_EQ(rewrites, 1);
    EXPECT_EQ(loaded.bytes(), fileOf({line("Bea"), line("Ana", "31"), line("Carla", "41"),
                                      line("Dora"), line("Eva")}));
    EXPECT_EQ(names(answer.addedContacts),
              (std::vector<std::string>{"Ana", "Carla", "Dora", "Eva"}));
    EXPECT_EQ(answer.removedLines, (std::vector<std::string>{line("Ana"), line("Carla")}));
}

TEST(Batch, IsAllOrNothing)
{
    const std::string content = fileOf({line("Ana"), line("Bea")});
    Loaded loaded(content);
    const auto& contacts = loaded.result.book.contacts;
    const Contact gone = newContact("Zoe");
    const ContactBatch batches[] = {
        {{newContact("Dora")}, {{contacts[0], newContact("Ana", "31")}, {gone, newContact("Zoe")}}},
        {{newContact("Dora"), newContact("DORA")}, {}},
        {{newContact("bea")}, {{contacts[0], newContact("Ana", "31")}}},
        {{}, {{contacts[0], newContact("Bea")}}},
        {{}, {{contacts[0], newContact("Ana", "31")}, {contacts[0], newContact("Ana", "32")}}},
        // One takes the other's name, which the other keeps in other capitals.
        {{}, {{contacts[0], newContact("BEA")}, {contacts[1], newContact("bea")}}},
    };
    for (const ContactBatch& batch : batches) {
        EXPECT_EQ(loaded.store.apply(batch).outcome, Outcome::Refused);
        EXPECT_EQ(loaded.bytes(), content);
    }
}

// An import's contacts whose age already counts today's birthday are written with their birthday
// markers, as the reminder's age update writes them: both or neither.
TEST(Batch, WritesItsMarkersWithTheContacts)
{
    using namespace std::chrono;
    const year_month_day today = 2026y / March / 5d;
    const MarkerFile dora = birthdayMarker(today, "Dora", "");
    const MarkerFile eva = birthdayMarker(today, "Eva", "");
    {
        Loaded loaded(fileOf({line("Ana")}));
        // One marker stands there already: it says the same, and the change goes ahead.
        ASSERT_EQ(makeMarkerFile(loaded.dir.path(), eva), MarkerMade::Made);
        ContactBatch batch{{newContact("Dora"), newContact("Eva")}, {}, {dora, eva}};
        ASSERT_TRUE(loaded.store.apply(batch).written());
        EXPECT_EQ(loaded.bytes(), fileOf({line("Ana"), line("Dora"), line("Eva")}));
        EXPECT_TRUE(markerFileExists(loaded.dir.path(), dora));
        EXPECT_TRUE(markerFileExists(loaded.dir.path(), eva));
        EXPECT_FALSE(std::filesystem::exists(loaded.dir / "data.tvl.journal"));
    }
    for (const RewriteStep failing : {RewriteStep::TempSynced, RewriteStep::MarkerMade}) {
        Loaded loaded(fileOf({line("Ana")}));
        const RewriteHooks fail{[&](RewriteStep step) { return step != failing; }};
        ContactBatch batch{{newContact("Dora")}, {}, {dora}};
        EXPECT_EQ(loaded.store.apply(batch, fail).outcome, Outcome::Failed);
        EXPECT_EQ(loaded.bytes(), fileOf({line("Ana")}));
        EXPECT_FALSE(markerFileExists(loaded.dir.path(), dora));
    }
}

// A replacement over a line another program changed since it was read keeps that program's
// changes where the dialog left the field alone.
TEST(ContactStore, AReplacementMergesWhatChangedMeanwhileFieldByField)
{
    struct Case {
        const char* what;
        std::vector<std::string> edited; // the dialog's fields, from the line read at 30
        std::vector<std::string> written;
        std::size_t conflicts;
    };
    const std::vector<std::string> read = {"Ana", "", "30", "05/03", "555", "", "", "vieja"};
    const std::vector<std::string> meanwhile = {"Ana", "", "31", "5/3", "555", "", "", "vieja"};
    const Case cases[] = {
        {"the note here, the age and the birthday's form there",
         {"Ana", "", "30", "05/03", "555", "", "", "nueva"},
         {"Ana", "", "31", "5/3", "555", "", "", "nueva"},
         0},
        {"the age on both sides: the dialog's",
         {"Ana", "", "40", "05/03", "555", "", "", "vieja"},
         {"Ana", "", "40", "5/3", "555", "", "", "vieja"},
         1},
        {"the same new age on both sides, the birthday and name here",
         {"Anabel", "", "31", "06/03", "555", "", "", "vieja"},
         {"Anabel", "", "31", "06/03", "555", "", "", "vieja"},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Loaded loaded(fileOf({recordLine(read), line("Bea")}));
        writeBytes(loaded.dir / "data.tvl", fileOf({line("Bea"), recordLine(meanwhile)}));
        const ChangeAnswer answer =
            loaded.store.replace(stored(recordLine(read)), stored(recordLine(c.edited)));
        ASSERT_TRUE(answer.written());
        EXPECT_EQ(loaded.bytes(), fileOf({line("Bea"), recordLine(c.written)}));
        const std::size_t conflicts =
            answer.conflicts.empty() ? 0 : answer.conflicts[0].fields.size();
        EXPECT_EQ(conflicts, c.conflicts);
    }
}
