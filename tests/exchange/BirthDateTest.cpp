#include "exchange/BirthDate.h"

#include <gtest/gtest.h>

using namespace exchange;
using namespace std::chrono;

TEST(BirthDate, ReadsTheFormsOfRealExports)
{
    const BirthDate withYear{{5, 3}, 1980};
    const BirthDate withoutYear{{5, 3}, std::nullopt};
    EXPECT_EQ(parseBirthDate("1980-03-05"), withYear);
    EXPECT_EQ(parseBirthDate("19800305"), withYear);
    EXPECT_EQ(parseBirthDate("1980-03-05T10:30:00Z"), withYear);
    EXPECT_EQ(parseBirthDate("19800305T103000"), withYear);
    EXPECT_EQ(parseBirthDate("--0305"), withoutYear);
    EXPECT_EQ(parseBirthDate("--03-05"), withoutYear);
    EXPECT_EQ(parseBirthDate("1604-03-05", "1604"), withoutYear); // X-APPLE-OMIT-YEAR
    EXPECT_EQ(parseBirthDate("2000-02-29"), (BirthDate{{29, 2}, 2000}));
    for (const char* wrong : {"", "1980-02-30", "--1305", "1980-03", "---05", "circa 1980",
                              "80-03-05", "1980-3-5", "--00-10"})
        EXPECT_EQ(parseBirthDate(wrong), std::nullopt) << wrong;
}

TEST(BirthDate, ADayTheCalendarLacksIsNoDateAndIsToldFromAnUnreadableOne)
{
    // 29 February only in leap years; 30 February and 31 April in none.
    for (const char* noSuchDay : {"2026-02-29", "1900-02-29", "19000229", "1980-02-30", "--0230",
                                  "--04-31", "2000-04-31"}) {
        EXPECT_EQ(parseBirthDate(noSuchDay), std::nullopt) << noSuchDay;
        EXPECT_TRUE(namesNoCalendarDay(noSuchDay)) << noSuchDay;
    }
    for (const char* other :
         {"2000-02-29", "--0229", "2024-02-29T00:00:00Z", "circa 1980", "--1305", "1980-03-32", ""})
        EXPECT_FALSE(namesNoCalendarDay(other)) << other;
    // A placeholder year is no year: its 29 February is a day.
    EXPECT_EQ(parseBirthDate("1900-02-29", "1900"), (BirthDate{{29, 2}, std::nullopt}));
}

TEST(BirthDate, AgeIsTodaysAgeAndOnlyFromARealYear)
{
    const year_month_day today = 2026y / December / 8d;
    EXPECT_EQ(ageOn({{8, 12}, 1980}, today), 46);
    EXPECT_EQ(ageOn({{9, 12}, 1980}, today), 45);
    EXPECT_EQ(ageOn({{8, 12}, 2026}, today), 0);
    EXPECT_EQ(ageOn({{9, 12}, 2026}, today), std::nullopt); // not born yet
    EXPECT_EQ(ageOn({{5, 3}, 1604}, today), std::nullopt);  // a placeholder year
    EXPECT_EQ(ageOn({{5, 3}, std::nullopt}, today), std::nullopt);
}

TEST(BirthDate, TwentyNinthOfFebruaryIsAYearOlderOnThe28thInCommonYears)
{
    const BirthDate leapling{{29, 2}, 2000};
    EXPECT_EQ(ageOn(leapling, 2027y / February / 27d), 26);
    EXPECT_EQ(ageOn(leapling, 2027y / February / 28d), 27);
    EXPECT_EQ(ageOn(leapling, 2028y / February / 28d), 27);
    EXPECT_EQ(ageOn(leapling, 2028y / February / 29d), 28);
    // An age that would put the birth on 29 February of a common year gives no year.
    EXPECT_EQ(birthYearFor({29, 2}, 26, 2026y / December / 8d), 2000);
    EXPECT_EQ(birthYearFor({29, 2}, 25, 2026y / December / 8d), std::nullopt);
}

TEST(BirthDate, TheBirthYearGivesBackTheAgeOnEveryDayOfTheYear)
{
    for (const contacts::DayMonth birthday :
         {contacts::DayMonth{1, 1}, {28, 2}, {29, 2}, {1, 3}, {8, 12}, {31, 12}}) {
        for (sys_days day = 2027y / January / 1d; day <= sys_days{2028y / December / 31d};
             day += days{1}) {
            const year_month_day today{day};
            for (int age : {0, 1, 24, 150}) {
                const auto year = birthYearFor(birthday, age, today);
                if (year)
                    EXPECT_EQ(ageOn({birthday, *year}, today), age);
                else // only a leapling's age can point at a common year
                    EXPECT_EQ(birthday, (contacts::DayMonth{29, 2}));
            }
        }
    }
    EXPECT_EQ(birthYearFor({5, 3}, 151, 2026y / December / 8d), std::nullopt);
}
