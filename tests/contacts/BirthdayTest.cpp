#include "contacts/Birthday.h"

#include <gtest/gtest.h>

using namespace contacts;
using namespace std::chrono;

TEST(Birthday, ReadsBothTheTwoDigitAndTheShortForm)
{
    EXPECT_EQ(parseBirthday("05/03"), (DayMonth{5, 3}));
    EXPECT_EQ(parseBirthday("5/3"), (DayMonth{5, 3}));
    EXPECT_EQ(parseBirthday("31/12"), (DayMonth{31, 12}));
    EXPECT_EQ(parseBirthday("31/02"), (DayMonth{31, 2})); // a file written by hand may hold it
}

TEST(Birthday, RefusesWhatIsNoDayAndMonth)
{
    for (const char* field : {"", "0503", "00/03", "32/01", "05/13", "05/00", "a/3", "5/", "/3",
                              "5/3/2000", "-5/3", "99999/1"})
        EXPECT_EQ(parseBirthday(field), std::nullopt) << field;
}

TEST(Birthday, KnowsWhichDaysACalendarHas)
{
    EXPECT_TRUE(isCalendarDay({29, 2}));
    EXPECT_FALSE(isCalendarDay({30, 2}));
    EXPECT_FALSE(isCalendarDay({31, 4}));
    EXPECT_TRUE(isCalendarDay({31, 12}));
}

TEST(Birthday, TwentyNinthOfFebruaryFallsOnTheTwentyEighthInCommonYears)
{
    const DayMonth leapDay{29, 2};
    EXPECT_TRUE(fallsOn(leapDay, 2027y / February / 28d));
    EXPECT_FALSE(fallsOn(leapDay, 2027y / March / 1d));
    EXPECT_TRUE(fallsOn(leapDay, 2028y / February / 29d));
    EXPECT_FALSE(fallsOn(leapDay, 2028y / February / 28d));
    EXPECT_TRUE(fallsOn({28, 2}, 2027y / February / 28d));
    EXPECT_FALSE(fallsOn({5, 3}, 2027y / March / 6d));
}

TEST(Birthday, MonthsHaveTheirDaysWithTheTwentyNinthOfFebruary)
{
    EXPECT_EQ(daysInMonth(2), 29);
    EXPECT_EQ(daysInMonth(4), 30);
    EXPECT_EQ(daysInMonth(12), 31);
}

struct DaysUntilCase {
    const char* name;
    DayMonth birthday;
    year_month_day today;
    std::optional<int> days;
};

void PrintTo(const DaysUntilCase& row, std::ostream* out)
{
    *out << row.name;
}

class DaysUntilNext : public ::testing::TestWithParam<DaysUntilCase> {};

TEST_P(DaysUntilNext, CountsToTheNextDayItFallsOn)
{
    EXPECT_EQ(daysUntilNext(GetParam().birthday, GetParam().today), GetParam().days);
}

INSTANTIATE_TEST_SUITE_P(
    Birthday, DaysUntilNext,
    ::testing::Values(
        DaysUntilCase{"Today", {5, 3}, 2026y / March / 5d, 0},
        DaysUntilCase{"Tomorrow", {6, 3}, 2026y / March / 5d, 1},
        DaysUntilCase{"YesterdayComesNextYear", {4, 3}, 2026y / March / 5d, 364},
        DaysUntilCase{"OverTheTurnOfTheYear", {2, 1}, 2026y / December / 30d, 3},
        DaysUntilCase{"LeapDayOnThe28thOfACommonYear", {29, 2}, 2027y / February / 25d, 3},
        DaysUntilCase{"LeapDayOnThe29thOfALeapYear", {29, 2}, 2028y / February / 25d, 4},
        DaysUntilCase{
            "LeapDayJustPassedComesOnTheNextTwentyNinth", {29, 2}, 2027y / March / 1d, 365},
        DaysUntilCase{
            "NoDayOfTheCalendarNeverComes", {31, 2}, 2026y / February / 1d, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Birthday, ShortTextHasNoLeadingZeros)
{
    EXPECT_EQ(shortBirthdayText({5, 3}), "5/3");
    EXPECT_EQ(shortBirthdayText({10, 12}), "10/12");
}

TEST(Age, TheNextAgeIsTheLeadingNumberPlusOne)
{
    EXPECT_EQ(nextAge("30"), "31");
    EXPECT_EQ(nextAge("30 años"), "31");
    EXPECT_EQ(nextAge("  7"), "8");
    EXPECT_EQ(nextAge(""), "1");
    EXPECT_EQ(nextAge("treinta"), "1");
    EXPECT_EQ(nextAge("007"), "8");
    EXPECT_EQ(nextAge("99"), "100");
    EXPECT_EQ(nextAge("99999999999999999999999"), "100000000000000000000000");
    EXPECT_EQ(leadingNumber("42 y medio"), "42");
    EXPECT_EQ(leadingNumber("nada"), "0");
}

// An age that does not start with a number is unknown: the birthdays leave it as it is.
TEST(Age, OnlyAnAgeWithALeadingNumberIsKnown)
{
    for (const char* known : {"30", "30 años", "  7", "\t9", "0", "007"})
        EXPECT_TRUE(hasLeadingNumber(known)) << known;
    for (const char* unknown : {"", " ", "treinta", "?", "-3", "unos 40"})
        EXPECT_FALSE(hasLeadingNumber(unknown)) << unknown;
}
