#include "reminder/core/DueBirthdays.h"

#include "tests/support/FileText.h"

#include <gtest/gtest.h>

using namespace reminder;
using namespace std::chrono;
using Names = std::vector<std::string>;

namespace {

std::string contact(const std::string& name, const std::string& birthday)
{
    return recordLine({name, "", "30", birthday, "", "", "", ""});
}

// Where one contact with this birthday lands on a day.
struct Placement {
    const char* row;
    Date today;
    const char* birthday;
    enum List { Today, InOne, InTwo, InThree, Nowhere } list;
};

// Names the row in test listings instead of dumping its bytes.
void PrintTo(const Placement& placement, std::ostream* out)
{
    *out << placement.row;
}

class DueBirthdayPlacement : public testing::TestWithParam<Placement> {};

TEST_P(DueBirthdayPlacement, LandsInTheRightList)
{
    const Placement& p = GetParam();
    const DueBirthdays due = dueBirthdaysIn(fileOf({contact("Ana", p.birthday)}), p.today);
    const Names ana{"Ana"};
    EXPECT_EQ(due.today, p.list == Placement::Today ? ana : Names{});
    EXPECT_EQ(due.inOneDay, p.list == Placement::InOne ? ana : Names{});
    EXPECT_EQ(due.inTwoDays, p.list == Placement::InTwo ? ana : Names{});
    EXPECT_EQ(due.inThreeDays, p.list == Placement::InThree ? ana : Names{});
}

INSTANTIATE_TEST_SUITE_P(
    Calendar, DueBirthdayPlacement,
    testing::Values(
        Placement{"Dec7_today", 2026y / December / 7d, "07/12", Placement::Today},
        Placement{"Dec7_in3", 2026y / December / 7d, "10/12", Placement::InThree},
        Placement{"Dec7_in2_short", 2026y / December / 7d, "9/12", Placement::InTwo},
        Placement{"Dec7_in1", 2026y / December / 7d, "08/12", Placement::InOne},
        Placement{"Dec7_in4", 2026y / December / 7d, "11/12", Placement::Nowhere},
        Placement{"Dec7_yesterday", 2026y / December / 7d, "06/12", Placement::Nowhere},
        Placement{"Feb27common_Mar2", 2027y / February / 27d, "2/03", Placement::InThree},
        Placement{"Feb27common_Mar1", 2027y / February / 27d, "1/03", Placement::InTwo},
        Placement{"Feb27common_Feb28", 2027y / February / 27d, "28/02", Placement::InOne},
        Placement{"Feb27leap_Mar1", 2028y / February / 27d, "1/03", Placement::InThree},
        Placement{"Feb27leap_Feb29", 2028y / February / 27d, "29/02", Placement::InTwo},
        Placement{"Feb27leap_Feb28", 2028y / February / 27d, "28/02", Placement::InOne},
        Placement{"Jan30_Feb2", 2027y / January / 30d, "02/02", Placement::InThree},
        Placement{"Dec29_Jan1", 2026y / December / 29d, "01/01", Placement::InThree},
        Placement{"Dec30_Jan1", 2026y / December / 30d, "01/01", Placement::InTwo},
        Placement{"Dec31_Jan1", 2026y / December / 31d, "01/01", Placement::InOne},
        Placement{"Dec31_Jan3", 2026y / December / 31d, "03/01", Placement::InThree},
        Placement{"Dec31_Jan4", 2026y / December / 31d, "04/01", Placement::Nowhere},
        Placement{"Jan1_today", 2027y / January / 1d, "1/1", Placement::Today},
        // 29 February is celebrated on 28 February when the year has no 29th.
        Placement{"Feb28common_leapDay", 2027y / February / 28d, "29/02", Placement::Today},
        Placement{"Feb25common_leapDay", 2027y / February / 25d, "29/02", Placement::InThree},
        Placement{"Mar1common_leapDay", 2027y / March / 1d, "29/02", Placement::Nowhere},
        Placement{"Feb28leap_leapDay", 2028y / February / 28d, "29/02", Placement::InOne},
        Placement{"Feb29leap_leapDay", 2028y / February / 29d, "29/02", Placement::Today},
        // Days no month has never come.
        Placement{"Apr30_noApr31", 2027y / April / 30d, "31/04", Placement::Nowhere},
        Placement{"Feb28_noFeb30", 2027y / February / 28d, "30/02", Placement::Nowhere},
        Placement{"Feb28_noFeb31", 2027y / February / 28d, "31/02", Placement::Nowhere}),
    [](const testing::TestParamInfo<Placement>& info) { return std::string(info.param.row); });

TEST(DueBirthdays, KeepsTheFileOrderAndListsARepeatedNameEachTime)
{
    const std::string content =
        fileOf({contact("Zoe", "09/12"), contact("Ana", "07/12"), contact("Bruno", "09/12"),
                contact("Ana", "07/12"), contact("Carla", "07/12")});
    const DueBirthdays due = dueBirthdaysIn(content, 2026y / December / 7d);
    EXPECT_EQ(due.today, (Names{"Ana", "Ana", "Carla"}));
    EXPECT_EQ(due.inTwoDays, (Names{"Zoe", "Bruno"}));
}

TEST(DueBirthdays, PassesOverBadLinesAndGoesOn)
{
    const std::string content =
        fileOf({contact("Ana", "07/12"), "", cp1252("Beto§§30§07/12§"), contact("Ciro", "31/02"),
                contact("Dora", "siete"), contact("Eva", ""), cp1252("sin terminadores"),
                contact("Fede", "08/12")});
    const DueBirthdays due = dueBirthdaysIn(content, 2026y / December / 7d);
    EXPECT_EQ(due.today, (Names{"Ana"}));
    EXPECT_EQ(due.inOneDay, (Names{"Fede"}));
}

TEST(DueBirthdays, NeedsNoTerminatorAfterFieldSix)
{
    const DueBirthdays due =
        dueBirthdaysIn(cp1252("Ana§§30§07/12§§§§sin nota ni fin") + "\r\n", 2026y / December / 7d);
    EXPECT_EQ(due.today, (Names{"Ana"}));
}

TEST(DueBirthdays, KeepsTheNameAsStored)
{
    const std::string name = cp1252("Begoña Ñúñez");
    const DueBirthdays due =
        dueBirthdaysIn(fileOf({contact("Begoña Ñúñez", "7/12")}), 2026y / December / 7d);
    EXPECT_EQ(due.today, (Names{name}));
}

TEST(DueBirthdays, AnEmptyFileHasNothingDue)
{
    EXPECT_FALSE(dueBirthdaysIn("", 2026y / December / 7d).anyDue());
}

// The scan also names the birthdays the catch-up looks at, so that a day that missed nothing
// needs no rewrite: the days after the remembered one and before today, 29/02 on 28/02 of a
// common year.
TEST(DueBirthdays, ListsTheBirthdaysOfTheCatchUpAsMissed)
{
    const std::string content =
        fileOf({contact("Ana", "05/12"), contact("Bea", "04/12"), contact("Ciro", "07/12"),
                contact("Dora", "6/12"), contact("Eva", "31/12")});
    const DueBirthdays due = dueBirthdaysIn(content, 2026y / December / 7d, 2026y / December / 4d);
    EXPECT_EQ(due.missed, (Names{"Ana", "Dora"}));
    EXPECT_EQ(due.today, (Names{"Ciro"}));
    EXPECT_TRUE(dueBirthdaysIn(content, 2026y / December / 7d).missed.empty());

    const DueBirthdays leap = dueBirthdaysIn(
        fileOf({contact("Leo", "29/02"), contact("Lea", "28/02"), contact("Max", "01/03")}),
        2027y / March / 1d, 2027y / February / 26d);
    EXPECT_EQ(leap.missed, (Names{"Leo", "Lea"}));
    EXPECT_EQ(leap.today, (Names{"Max"}));
}

} // namespace
