#include "reminder/core/AgeUpdate.h"

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
    ASSERT_TRUE(advanceAges(dir.path(), kDec7, {"Ana"}).rewrite.written());
    EXPECT_EQ(readBytes(dir / "data.tvl"),
              fileOf({line("Ana", "Anita", GetParam().after, "7/12")}));
}

INSTANTIATE_TEST_SUITE_P(
    Ages, AgeAdvance,
    testing::Values(AgeRow{"plain", "30", "31"}, AgeRow{"wordy", "30 años", "31"},
                    AgeRow{"blanksFirst", "  9", "10"}, AgeRow{"empty", "", "1"},
                    AgeRow{"noNumber", "treinta", "1"}, AgeRow{"leadingZero", "09", "10"},
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

} // namespace
