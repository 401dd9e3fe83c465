#include "reminder/core/AgeUpdate.h"

#include "contacts/BirthdayMarkers.h"
#include "contacts/ContactStore.h"
#include "tests/support/FileText.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace reminder;
using namespace std::chrono;
using Names = std::vector<std::string>;

namespace {

const Date kDec7 = 2026y / December / 7d;

std::string line(const std::string& name, const std::string& alias, const std::string& age,
                 const std::string& birthday, const std::string& note = "")
{
    return recordLine({name, alias, age, birthday, "555", "Calle Mayor 1", "a@b.es", note});
}

class AgeUpdate : public testing::Test {
protected:
    TempDir dir;

    void store(const std::vector<std::string>& lines)
    {
        writeBytes(dir / "data.tvl", fileOf(lines));
    }
    std::string stored() const { return readBytes(dir / "data.tvl"); }
    bool marked(const std::string& file) const { return std::filesystem::exists(dir / file); }
    std::size_t markerCount() const
    {
        std::size_t count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            count += entry.path().filename().string().rfind("7122026", 0) == 0;
        return count;
    }
};

struct AgeRow {
    const char* row;
    const char* before;
    const char* after;
};

// Names the row in test listings instead of dumping its bytes.
void PrintTo(const AgeRow& row, std::ostream* out)
{
    *out << row.row;
}

class AgeAdvance : public testing::TestWithParam<AgeRow> {};

TEST_P(AgeAdvance, TakesTheLeadingNumberPlusOne)
{
    TempDir dir;
    writeBytes(dir / "data.tvl", fileOf({line("Ana", "Anita", GetParam().before, "07/12")}));
    const AgeUpdateResult result = advanceAges(dir.path(), kDec7, {"Ana"});
    ASSERT_TRUE(result.rewrite.written());
    EXPECT_TRUE(result.saved);
    EXPECT_EQ(readBytes(dir / "data.tvl"),
              fileOf({line("Ana", "Anita", GetParam().after, "7/12")}));
    // The birthday is counted either way: the marker is made.
    EXPECT_TRUE(std::filesystem::exists(dir / "07122026§Ana§Anita"));
    EXPECT_EQ(result.advanced, std::string(GetParam().before) == GetParam().after ? 0u : 1u);
}

// An unknown age in a file whose bytes nothing else changes still gets its marker: the
// birthday was seen.
TEST(UnknownAge, IsMarkedThoughTheFileStaysAsItIs)
{
    TempDir dir;
    const std::string content = fileOf({line("Ana", "Anita", "", "7/12")});
    writeBytes(dir / "data.tvl", content);
    const AgeUpdateResult result = advanceAges(dir.path(), kDec7, {"Ana"});
    EXPECT_TRUE(result.saved);
    EXPECT_EQ(readBytes(dir / "data.tvl"), content);
    EXPECT_TRUE(std::filesystem::exists(dir / "07122026§Ana§Anita"));
    EXPECT_FALSE(std::filesystem::exists(dir / "data.tvl.journal"));
}

INSTANTIATE_TEST_SUITE_P(
    Ages, AgeAdvance,
    testing::Values(AgeRow{"plain", "30", "31"}, AgeRow{"wordy", "30 años", "31"},
                    AgeRow{"blanksFirst", "  9", "10"}, AgeRow{"leadingZero", "09", "10"},
                    // An unknown age stays unknown.
                    AgeRow{"empty", "", ""}, AgeRow{"noNumber", "treinta", "treinta"},
                    AgeRow{"question", "?", "?"},
                    AgeRow{"manyDigits", "99999999999999999999", "100000000000000000000"}),
    [](const testing::TestParamInfo<AgeRow>& info) { return std::string(info.param.row); });

TEST_F(AgeUpdate, AdvancesOnceAndMarksTheDay)
{
    store({line("Ana", "Anita", "30", "07/12"), line("Bea", "", "40", "05/03")});
    const AgeUpdateResult first = advanceAges(dir.path(), kDec7, {"Ana"});
    EXPECT_TRUE(first.rewrite.written());
    EXPECT_EQ(first.advanced, 1u);
    EXPECT_TRUE(marked("07122026§Ana§Anita"));
    const std::string after =
        fileOf({line("Ana", "Anita", "31", "7/12"), line("Bea", "", "40", "5/3")});
    EXPECT_EQ(stored(), after);

    // A second start on the same day changes nothing.
    const AgeUpdateResult second = advanceAges(dir.path(), kDec7, {"Ana"});
    EXPECT_EQ(second.advanced, 0u);
    EXPECT_EQ(stored(), after);
    // The next year it grows again.
    EXPECT_EQ(advanceAges(dir.path(), 2027y / December / 7d, {"Ana"}).advanced, 1u);
    EXPECT_NE(stored().find(cp1252("Ana§Anita§32§")), std::string::npos);
}

TEST_F(AgeUpdate, TwoListedNamesAreEachAdvancedOnce)
{
    store({line("Ana", "Anita", "30", "07/12"), line("Bea", "", "40", "07/12"),
           line("Ciro", "", "50", "07/12")});
    EXPECT_EQ(advanceAges(dir.path(), kDec7, {"Ana", "Bea"}).advanced, 2u);
    EXPECT_EQ(stored(), fileOf({line("Ana", "Anita", "31", "7/12"), line("Bea", "", "41", "7/12"),
                                line("Ciro", "", "50", "7/12")}));
}

TEST_F(AgeUpdate, SameNameAndAliasTwiceIsOneAdvance)
{
    store({line("Ana", "Anita", "30", "07/12"), line("Ana", "Anita", "30", "07/12", "copia")});
    // The scan lists the name once per line.
    EXPECT_EQ(advanceAges(dir.path(), kDec7, {"Ana", "Ana"}).advanced, 1u);
    EXPECT_EQ(stored(), fileOf({line("Ana", "Anita", "31", "7/12"),
                                line("Ana", "Anita", "30", "7/12", "copia")}));
}

TEST_F(AgeUpdate, SameNameWithOtherAliasesIsAdvancedForEach)
{
    store({line("Ana", "Anita", "30", "07/12"), line("Ana", "Nani", "20", "07/12")});
    EXPECT_EQ(advanceAges(dir.path(), kDec7, {"Ana", "Ana"}).advanced, 2u);
    EXPECT_TRUE(marked("07122026§Ana§Anita"));
    EXPECT_TRUE(marked("07122026§Ana§Nani"));
}

TEST_F(AgeUpdate, NamesCompareExactly)
{
    store({line("ana", "", "30", "07/12"), line("Ana ", "", "30", "07/12")});
    EXPECT_EQ(advanceAges(dir.path(), kDec7, {"Ana"}).advanced, 0u);
    EXPECT_EQ(markerCount(), 0u);
}

TEST_F(AgeUpdate, RewritesEveryBirthdayShortAndKeepsTheTextAfterTheEighthTerminator)
{
    // A line end lost in a hand edit glues the next record after the eighth terminator: it must
    // survive, whether the line it hangs on is advanced or only rewritten.
    const std::string glued = line("Bea", "", "40", "05/03");
    store({line("Ana", "Anita", "30", "07/12") + glued, line("Ciro", "", "50", "10/12") + "x\xA7y ",
           line("Dora", "", "60", " 29 / 02 ") + glued});
    EXPECT_EQ(advanceAges(dir.path(), kDec7, {"Ana", "Bea"}).advanced, 1u);
    EXPECT_EQ(stored(), fileOf({line("Ana", "Anita", "31", "7/12") + glued,
                                line("Ciro", "", "50", "10/12") + "x\xA7y ",
                                line("Dora", "", "60", "29/2") + glued}));
}

TEST_F(AgeUpdate, OnlyALineWhoseOwnBirthdayIsTodayIsAdvanced)
{
    // A hand-edited file may repeat a name: another Ana's birthday, standing first with the same
    // alias, takes neither the advance nor the marker.
    store({line("Ana", "Anita", "40", "05/03"), line("Ana", "Anita", "30", "07/12"),
           line("Ana", "", "20", "08/12")});
    const AgeUpdateResult result = advanceAges(dir.path(), kDec7, {"Ana"});
    EXPECT_EQ(result.advanced, 1u);
    EXPECT_TRUE(result.saved);
    EXPECT_EQ(stored(),
              fileOf({line("Ana", "Anita", "40", "5/3"), line("Ana", "Anita", "31", "7/12"),
                      line("Ana", "", "20", "8/12")}));
}

TEST_F(AgeUpdate, TwentyNinthOfFebruaryIsTodayOnlyInACommonYear)
{
    store({line("Leo", "", "3", "29/02"), line("Lea", "", "7", "28/02")});
    EXPECT_EQ(advanceAges(dir.path(), 2028y / February / 28d, {"Leo", "Lea"}).advanced, 1u);
    EXPECT_EQ(stored(), fileOf({line("Leo", "", "3", "29/2"), line("Lea", "", "8", "28/2")}));
    EXPECT_EQ(advanceAges(dir.path(), 2027y / February / 28d, {"Leo", "Lea"}).advanced, 2u);
    EXPECT_EQ(stored(), fileOf({line("Leo", "", "4", "29/2"), line("Lea", "", "9", "28/2")}));
}

TEST_F(AgeUpdate, BadLinesAreCarriedOverUnchanged)
{
    const std::vector<std::string> bad = {
        "", cp1252("Ana§§30§07/12§"), line("Ana", "", "30", "31/02"), line("Ana", "", "30", "hoy"),
        std::string("\0\xA7\xFF", 3)};
    std::vector<std::string> lines = bad;
    lines.push_back(line("Ana", "Anita", "30", "07/12"));
    store(lines);
    EXPECT_EQ(advanceAges(dir.path(), kDec7, {"Ana"}).advanced, 1u);
    std::vector<std::string> expected = bad;
    expected.push_back(line("Ana", "Anita", "31", "7/12"));
    EXPECT_EQ(stored(), fileOf(expected));
}

TEST_F(AgeUpdate, AMarkerThatCannotBeMadeLeavesTheAgeAndIsTold)
{
    store({line("Ana", "Anita", "30", "07/12"), line("Bea", "", "40", "07/12")});
    contacts::RewriteHooks hooks;
    hooks.markerCreation = [](const contacts::MarkerFile& marker) {
        return marker.name != "07122026§Ana§Anita";
    };
    const AgeUpdateResult result = advanceAges(dir.path(), kDec7, {"Ana", "Bea"}, hooks);
    EXPECT_EQ(result.advanced, 1u);
    EXPECT_FALSE(result.saved);
    EXPECT_EQ(stored(),
              fileOf({line("Ana", "Anita", "30", "7/12"), line("Bea", "", "41", "7/12")}));
    EXPECT_FALSE(marked("07122026§Ana§Anita"));
    EXPECT_TRUE(marked("07122026§Bea§"));
    EXPECT_FALSE(marked("data.tvl.journal"));

    // The next start that day advances Ana, and only her.
    const AgeUpdateResult again = advanceAges(dir.path(), kDec7, {"Ana", "Bea"});
    EXPECT_EQ(again.advanced, 1u);
    EXPECT_TRUE(again.saved);
    EXPECT_EQ(stored(),
              fileOf({line("Ana", "Anita", "31", "7/12"), line("Bea", "", "41", "7/12")}));
}

TEST_F(AgeUpdate, AFailedWriteRemovesTheMarkersItMade)
{
    const std::string before = fileOf({line("Ana", "Anita", "30", "07/12")});
    for (auto failing : {contacts::RewriteStep::TempCreated, contacts::RewriteStep::TempWritten,
                         contacts::RewriteStep::TempSynced, contacts::RewriteStep::JournalWritten,
                         contacts::RewriteStep::MarkerMade}) {
        writeBytes(dir / "data.tvl", before);
        contacts::RewriteHooks hooks;
        hooks.atStep = [failing](contacts::RewriteStep step) { return step != failing; };
        const AgeUpdateResult result = advanceAges(dir.path(), kDec7, {"Ana"}, hooks);
        EXPECT_FALSE(result.rewrite.written());
        EXPECT_FALSE(result.saved);
        EXPECT_EQ(result.advanced, 0u);
        EXPECT_EQ(stored(), before);
        EXPECT_FALSE(marked("07122026§Ana§Anita"));
        EXPECT_FALSE(marked("data.tvl.journal"));
    }
    // The next start that day advances the age after all, once.
    EXPECT_EQ(advanceAges(dir.path(), kDec7, {"Ana"}).advanced, 1u);
    EXPECT_TRUE(marked("07122026§Ana§Anita"));
}

TEST_F(AgeUpdate, AFailureReportedAfterTheRenameKeepsTheMarkers)
{
    store({line("Ana", "Anita", "30", "07/12")});
    contacts::RewriteHooks hooks;
    hooks.atStep = [](contacts::RewriteStep step) {
        return step != contacts::RewriteStep::Replaced;
    };
    const AgeUpdateResult result = advanceAges(dir.path(), kDec7, {"Ana"}, hooks);
    EXPECT_EQ(result.advanced, 1u);
    EXPECT_TRUE(result.saved);
    EXPECT_TRUE(marked("07122026§Ana§Anita"));
    EXPECT_EQ(stored(), fileOf({line("Ana", "Anita", "31", "7/12")}));
    // The journal left behind is settled by the next rewrite: the markers stay, nothing grows.
    EXPECT_EQ(advanceAges(dir.path(), kDec7, {"Ana"}).advanced, 0u);
    EXPECT_TRUE(marked("07122026§Ana§Anita"));
    EXPECT_FALSE(marked("data.tvl.journal"));
    EXPECT_EQ(stored(), fileOf({line("Ana", "Anita", "31", "7/12")}));
}

TEST_F(AgeUpdate, AMissingContactFileStaysMissing)
{
    const AgeUpdateResult result = advanceAges(dir.path(), kDec7, {"Ana"});
    EXPECT_FALSE(result.rewrite.written());
    EXPECT_FALSE(result.saved);
    EXPECT_FALSE(std::filesystem::exists(dir / "data.tvl"));
    EXPECT_EQ(markerCount(), 0u);
}

TEST_F(AgeUpdate, MarkersOfNamesWithSlashesStayInTheProgramDirectory)
{
    store({line("../../Ana", "/x", "30", "07/12")});
    EXPECT_EQ(advanceAges(dir.path(), kDec7, {"../../Ana"}).advanced, 1u);
    EXPECT_TRUE(marked("07122026§..%2F..%2FAna§%2Fx"));
}

// The catch-up: birthdays that fell on days no reminder ran, counted in the same rewrite.
class CatchUp : public AgeUpdate {
protected:
    const Date kFriday = 2026y / December / 4d;
    const Date kMonday = 2026y / December / 7d;
};

TEST_F(CatchUp, AWeekendIsCaughtUpOnMondayOnceWithTodaysAdvances)
{
    store({line("Ana", "Anita", "30", "05/12"), line("Bea", "", "40", "06/12"),
           line("Ciro", "", "50", "07/12"), line("Dora", "", "", "06/12"),
           line("Eva", "", "20", "04/12"), line("Fede", "", "9", "08/12")});
    const AgeUpdateResult result = updateAges(dir.path(), kMonday, {"Ciro"}, kFriday);
    EXPECT_TRUE(result.saved);
    EXPECT_EQ(result.advanced, 3u); // Ana, Bea, Ciro; Dora's unknown age stays
    EXPECT_EQ(result.caughtUp, (std::vector<CaughtUpBirthday>{{"Ana", 2026y / December / 5d},
                                                              {"Bea", 2026y / December / 6d},
                                                              {"Dora", 2026y / December / 6d}}));
    const std::string after =
        fileOf({line("Ana", "Anita", "31", "5/12"), line("Bea", "", "41", "6/12"),
                line("Ciro", "", "51", "7/12"), line("Dora", "", "", "6/12"),
                line("Eva", "", "20", "4/12"), line("Fede", "", "9", "8/12")});
    EXPECT_EQ(stored(), after);
    for (const char* marker :
         {"05122026§Ana§Anita", "06122026§Bea§", "07122026§Ciro§", "06122026§Dora§"})
        EXPECT_TRUE(marked(marker)) << marker;
    EXPECT_FALSE(marked("04122026§Eva§"));

    // Again that day, or a start that finds the markers: nothing more.
    const AgeUpdateResult again = updateAges(dir.path(), kMonday, {"Ciro"}, kFriday);
    EXPECT_TRUE(again.caughtUp.empty());
    EXPECT_EQ(again.advanced, 0u);
    EXPECT_EQ(stored(), after);
}

TEST_F(CatchUp, AMarkerOfEitherFormMeansTheBirthdayWasCounted)
{
    store({line("Ana", "Anita", "30", "05/12"), line("Bea", "", "40", "06/12")});
    writeBytes(dir / "05122026§Ana§Anita", "");
    writeBytes(dir / "6122026Bea", ""); // the first form
    const std::string before = stored();
    const AgeUpdateResult result = updateAges(dir.path(), kMonday, {}, kFriday);
    EXPECT_TRUE(result.saved);
    EXPECT_TRUE(result.caughtUp.empty());
    // Without names of today's, nothing else is rewritten: not even the birthdays' short form.
    EXPECT_EQ(result.rewrite.outcome, contacts::RewriteResult::Outcome::Declined);
    EXPECT_EQ(stored(), before);
}

// An age typed or computed after a birthday the reminder missed is the current one: the contact
// comes with the marker of that birthday, and the catch-up leaves it alone.
TEST_F(CatchUp, AnAgeSetAfterTheMissedBirthdayIsNotCountedAgain)
{
    store({line("Bea", "", "40", "05/12")});
    const Date sunday = 2026y / December / 6d;
    contacts::ContactStore book(dir.path());
    ASSERT_EQ(book.load().status, contacts::LoadResult::Status::Read);
    const contacts::Contact ana(contacts::Contact::Values{"Ana", "", "31", "05/12"});
    ASSERT_TRUE(book.add(ana, {},
                         contacts::currentAgeMarkers(ana.birthday(), ana.name(), ana.alias(),
                                                     sunday, false))
                    .written());

    const AgeUpdateResult result = updateAges(dir.path(), kMonday, {}, kFriday);
    EXPECT_EQ(result.caughtUp, (std::vector<CaughtUpBirthday>{{"Bea", 2026y / December / 5d}}));
    EXPECT_EQ(stored(), fileOf({line("Bea", "", "41", "5/12")}) + "Ana\xA7\xA7"
                                                                  "31\xA7"
                                                                  "5/12\xA7\xA7\xA7\xA7\xA7\r\n");
}

TEST_F(CatchUp, AYearAgoTodayAndTodayAreTwoBirthdays)
{
    store({line("Ana", "", "30", "07/12")});
    const AgeUpdateResult result = updateAges(dir.path(), kMonday, {"Ana"}, 2025y / December / 6d);
    EXPECT_EQ(result.caughtUp, (std::vector<CaughtUpBirthday>{{"Ana", 2025y / December / 7d}}));
    EXPECT_EQ(stored(), fileOf({line("Ana", "", "32", "7/12")}));
    EXPECT_TRUE(marked("07122025§Ana§"));
    EXPECT_TRUE(marked("07122026§Ana§"));
}

TEST_F(CatchUp, SameNameAndAliasTwiceIsCaughtUpOnce)
{
    store({line("Ana", "", "30", "05/12"), line("Ana", "", "30", "05/12", "copia")});
    const AgeUpdateResult result = updateAges(dir.path(), kMonday, {}, kFriday);
    EXPECT_EQ(result.caughtUp.size(), 1u);
    EXPECT_EQ(stored(),
              fileOf({line("Ana", "", "31", "5/12"), line("Ana", "", "30", "5/12", "copia")}));
}

TEST_F(CatchUp, AMarkerThatCannotBeMadeLeavesThatBirthdayForTheNextStart)
{
    store({line("Ana", "", "30", "05/12"), line("Bea", "", "40", "06/12")});
    contacts::RewriteHooks hooks;
    hooks.markerCreation = [](const contacts::MarkerFile& marker) {
        return marker.name != "05122026§Ana§";
    };
    const AgeUpdateResult result = updateAges(dir.path(), kMonday, {}, kFriday, hooks);
    EXPECT_FALSE(result.saved);
    EXPECT_EQ(result.caughtUp, (std::vector<CaughtUpBirthday>{{"Bea", 2026y / December / 6d}}));
    EXPECT_EQ(stored(), fileOf({line("Ana", "", "30", "5/12"), line("Bea", "", "41", "6/12")}));
    const AgeUpdateResult next = updateAges(dir.path(), kMonday, {}, kFriday);
    EXPECT_TRUE(next.saved);
    EXPECT_EQ(next.caughtUp, (std::vector<CaughtUpBirthday>{{"Ana", 2026y / December / 5d}}));
    EXPECT_EQ(stored(), fileOf({line("Ana", "", "31", "5/12"), line("Bea", "", "41", "6/12")}));
}

TEST_F(CatchUp, BringingUpToDateRemembersTheDayOnlyOnceEverythingIsSaved)
{
    store({line("Ana", "", "30", "05/12")});
    contacts::RewriteHooks failing;
    failing.atStep = [](contacts::RewriteStep step) {
        return step != contacts::RewriteStep::TempWritten;
    };
    AgeDays days;
    days.catchUpAfter = kFriday;
    EXPECT_FALSE(bringAgesUpToDate(dir.path(), kMonday, days, {}, failing).saved);
    EXPECT_EQ(readAgesUpToDate(dir.path()), std::nullopt);
    EXPECT_EQ(bringAgesUpToDate(dir.path(), kMonday, days, {}).caughtUp.size(), 1u);
    EXPECT_EQ(readAgesUpToDate(dir.path()), kMonday);
    EXPECT_EQ(stored(), fileOf({line("Ana", "", "31", "5/12")}));
}

TEST_F(CatchUp, AClockSetBackChangesNothing)
{
    const std::string content =
        fileOf({line("Ana", "", "30", "07/12"), line("Bea", "", "1", "06/12")});
    writeBytes(dir / "data.tvl", content);
    AgeDays days = planAgeDays(2026y / December / 10d, kMonday);
    ASSERT_FALSE(days.agesMayChange);
    const AgeUpdateResult result = bringAgesUpToDate(dir.path(), kMonday, days, {"Ana"});
    EXPECT_TRUE(result.saved);
    EXPECT_EQ(stored(), content);
    EXPECT_FALSE(marked("07122026§Ana§"));
    EXPECT_FALSE(marked("06122026§Bea§"));
    EXPECT_FALSE(marked(kAgesUpToDateFileName));
}

} // namespace
