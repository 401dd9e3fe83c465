// The day the ages were last brought up to date, and what a start may do with it.
#include "reminder/core/AgeDays.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace reminder;
using namespace std::chrono;

namespace {

const Date kMonday = 2026y / December / 7d;

struct PlanRow {
    const char* row;
    std::optional<Date> remembered;
    Date today;
    bool agesMayChange;
    std::optional<Date> catchUpAfter;
    bool firstOfTheDay;
    bool firstOfTheMonth;
};

void PrintTo(const PlanRow& row, std::ostream* out)
{
    *out << row.row;
}

class AgeDaysPlan : public testing::TestWithParam<PlanRow> {};

TEST_P(AgeDaysPlan, SaysWhatTheStartMayDo)
{
    const PlanRow& row = GetParam();
    const AgeDays days = planAgeDays(row.remembered, row.today);
    EXPECT_EQ(days.agesMayChange, row.agesMayChange);
    EXPECT_EQ(days.catchUpAfter, row.catchUpAfter);
    EXPECT_EQ(days.firstStartOfTheDay, row.firstOfTheDay);
    EXPECT_EQ(days.firstStartOfTheMonth, row.firstOfTheMonth);
}

INSTANTIATE_TEST_SUITE_P(
    Days, AgeDaysPlan,
    testing::Values(
        // Nothing remembered: the first start ever catches up nothing.
        PlanRow{"firstStartEver", std::nullopt, kMonday, true, std::nullopt, true, true},
        PlanRow{"secondStartTheSameDay", kMonday, kMonday, true, std::nullopt, false, false},
        PlanRow{"yesterday", 2026y / December / 6d, kMonday, true, std::nullopt, true, false},
        PlanRow{"weekend", 2026y / December / 4d, kMonday, true, 2026y / December / 4d, true,
                false},
        PlanRow{"monthEnd", 2026y / November / 29d, kMonday, true, 2026y / November / 29d, true,
                true},
        PlanRow{"yearEnd", 2026y / December / 30d, 2027y / January / 2d, true,
                2026y / December / 30d, true, true},
        // A year and a day back is as far as it looks; anything longer looks that far.
        PlanRow{"366Days", 2025y / December / 6d, kMonday, true, 2025y / December / 6d, true, true},
        PlanRow{"twoYears", 2024y / December / 1d, kMonday, true, 2025y / December / 6d, true,
                true},
        // The clock set back, or a wrong date remembered: nothing changes.
        PlanRow{"clockSetBack", 2026y / December / 10d, kMonday, false, std::nullopt, false,
                false}),
    [](const testing::TestParamInfo<PlanRow>& info) { return std::string(info.param.row); });

struct BetweenRow {
    const char* row;
    contacts::DayMonth birthday;
    Date after;
    Date before;
    std::optional<Date> expected;
};

void PrintTo(const BetweenRow& row, std::ostream* out)
{
    *out << row.row;
}

class BirthdayBetween : public testing::TestWithParam<BetweenRow> {};

TEST_P(BirthdayBetween, FindsTheDayTheBirthdayFellOn)
{
    const BetweenRow& row = GetParam();
    EXPECT_EQ(birthdayBetween(row.birthday, row.after, row.before), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Days, BirthdayBetween,
    testing::Values(
        BetweenRow{"saturday", {5, 12}, 2026y / December / 4d, kMonday, 2026y / December / 5d},
        BetweenRow{"neitherEnd", {4, 12}, 2026y / December / 4d, kMonday, std::nullopt},
        BetweenRow{"notToday", {7, 12}, 2026y / December / 4d, kMonday, std::nullopt},
        BetweenRow{"acrossTheMonth",
                   {30, 11},
                   2026y / November / 28d,
                   2026y / December / 2d,
                   2026y / November / 30d},
        BetweenRow{"lastYearsDecember",
                   {31, 12},
                   2026y / December / 30d,
                   2027y / January / 2d,
                   2026y / December / 31d},
        BetweenRow{"thisYearsJanuary",
                   {1, 1},
                   2026y / December / 30d,
                   2027y / January / 2d,
                   2027y / January / 1d},
        BetweenRow{"leapDayInACommonYear",
                   {29, 2},
                   2027y / February / 26d,
                   2027y / March / 1d,
                   2027y / February / 28d},
        BetweenRow{"leapDayInALeapYear",
                   {29, 2},
                   2028y / February / 27d,
                   2028y / March / 2d,
                   2028y / February / 29d},
        BetweenRow{"28thInALeapYear",
                   {28, 2},
                   2028y / February / 27d,
                   2028y / March / 2d,
                   2028y / February / 28d},
        BetweenRow{"noCalendarDay", {31, 4}, 2026y / April / 1d, 2026y / May / 5d, std::nullopt},
        // A whole year back: the latest of the two days.
        BetweenRow{
            "aYearAgoToday", {7, 12}, 2025y / December / 6d, kMonday, 2025y / December / 7d}),
    [](const testing::TestParamInfo<BetweenRow>& info) { return std::string(info.param.row); });

TEST(AgesUpToDate, IsOneLineWrittenWholeAndReadBack)
{
    TempDir dir;
    EXPECT_EQ(readAgesUpToDate(dir.path()), std::nullopt);
    ASSERT_TRUE(recordAgesUpToDate(dir.path(), kMonday));
    EXPECT_EQ(readBytes(dir / kAgesUpToDateFileName), "2026-12-07\n");
    EXPECT_EQ(readAgesUpToDate(dir.path()), kMonday);
    EXPECT_FALSE(std::filesystem::exists(dir / (std::string(kAgesUpToDateFileName) + ".new")));

    // The same day again writes nothing: the file keeps its inode and time.
    struct stat before {};
    ::stat((dir / kAgesUpToDateFileName).c_str(), &before);
    ASSERT_TRUE(recordAgesUpToDate(dir.path(), kMonday));
    struct stat after {};
    ::stat((dir / kAgesUpToDateFileName).c_str(), &after);
    EXPECT_EQ(before.st_ino, after.st_ino);

    ASSERT_TRUE(recordAgesUpToDate(dir.path(), 2027y / January / 2d));
    EXPECT_EQ(readBytes(dir / kAgesUpToDateFileName), "2027-01-02\n");
}

TEST(AgesUpToDate, AnythingButOneDayReadsAsNothingRemembered)
{
    TempDir dir;
    for (const char* text : {"", "2026-12-07", "2026-12-07\n\n", "2026-02-30\n", "07/12/2026\n",
                             "2026-12-7\n", "hoy\n", "2026-12-07\r\n"}) {
        writeBytes(dir / kAgesUpToDateFileName, text);
        EXPECT_EQ(readAgesUpToDate(dir.path()), std::nullopt) << text;
    }
    // Never through a link.
    std::filesystem::remove(dir / kAgesUpToDateFileName);
    writeBytes(dir / "elsewhere", "2026-12-07\n");
    std::filesystem::create_symlink(dir / "elsewhere", dir / kAgesUpToDateFileName);
    EXPECT_EQ(readAgesUpToDate(dir.path()), std::nullopt);
}

TEST(AgesUpToDate, ADirectoryThatCannotHoldItIsNoFailureOfTheStart)
{
    TempDir dir;
    EXPECT_FALSE(recordAgesUpToDate(dir / "gone", kMonday));
}

TEST(WeekdayAndDate, ReadsAsTheToldLineWritesIt)
{
    EXPECT_EQ(weekdayAndDate(2026y / December / 5d), "sábado 5/12");
    EXPECT_EQ(weekdayAndDate(2026y / December / 6d), "domingo 6/12");
    EXPECT_EQ(weekdayAndDate(2027y / February / 28d), "domingo 28/2");
    EXPECT_EQ(weekdayAndDate(2026y / December / 9d), "miércoles 9/12");
}

TEST(OldestMarkerKept, IsAsFarBackAsTheCatchUpLooks)
{
    EXPECT_EQ(oldestMarkerKept(kMonday), 2025y / December / 6d);
}

} // namespace
