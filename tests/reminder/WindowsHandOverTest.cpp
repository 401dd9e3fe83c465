#include "reminder/core/WindowsHandOver.h"

#include "platform/Programs.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace reminder;
using namespace std::chrono;

namespace {

TEST(WindowsHandOver, TheWindowsGetTheScansListsAndDate)
{
    const DueBirthdays due{{"Ana", std::string("B\0b", 3), "Ana"}, {"Uno"}, {}, {"Tres", "\xF1"}};
    const Date today = 2026y / December / 7d;
    char program[] = "Avisela";
    char* argv[] = {program, nullptr};
    WindowsRequest request(due, "/opt/tortavela", today, 1, argv);
    const AviselaWindowsRequest& handed = request.get();

    EXPECT_EQ(handed.abiVersion, AVISELA_WINDOWS_ABI_VERSION);
    EXPECT_STREQ(handed.programDir, "/opt/tortavela");
    EXPECT_EQ(handed.argc, 1);
    EXPECT_EQ(dateOf(handed), today);
    const DueBirthdays received = dueBirthdaysOf(handed);
    EXPECT_EQ(received.today, due.today);
    EXPECT_EQ(received.inOneDay, due.inOneDay);
    EXPECT_EQ(received.inTwoDays, due.inTwoDays);
    EXPECT_EQ(received.inThreeDays, due.inThreeDays);
    // No catch-up asked for: the ages may change, nothing caught up.
    EXPECT_TRUE(ageDaysOf(handed).agesMayChange);
    EXPECT_EQ(ageDaysOf(handed).catchUpAfter, std::nullopt);
    EXPECT_TRUE(caughtUpOf(handed).empty());
}

TEST(WindowsHandOver, TheWindowsGetTheAgeDaysAndTheBirthdaysCaughtUp)
{
    char program[] = "Avisela";
    char* argv[] = {program, nullptr};
    AgeDays days;
    days.catchUpAfter = 2026y / December / 4d;
    const std::vector<CaughtUpBirthday> caughtUp = {
        {"Ana", 2026y / December / 5d}, {std::string("B\0\xF1", 3), 2026y / December / 6d}};
    WindowsRequest request(DueBirthdays{{}, {"Uno"}, {}, {}}, "/opt/tortavela",
                           2026y / December / 7d, 1, argv, days, caughtUp);
    EXPECT_TRUE(ageDaysOf(request.get()).agesMayChange);
    EXPECT_EQ(ageDaysOf(request.get()).catchUpAfter, days.catchUpAfter);
    EXPECT_EQ(caughtUpOf(request.get()), caughtUp);

    AgeDays setBack;
    setBack.agesMayChange = false;
    WindowsRequest back(DueBirthdays{{"Ana"}, {}, {}, {}}, "/opt/tortavela", 2026y / December / 7d,
                        1, argv, setBack);
    EXPECT_FALSE(ageDaysOf(back.get()).agesMayChange);
}

TEST(WindowsHandOver, AMissingWindowsLibraryIsReportedNotFatal)
{
    TempDir dir;
    char program[] = "Avisela";
    char* argv[] = {program, nullptr};
    WindowsRequest request(DueBirthdays{{"Ana"}, {}, {}, {}}, dir.path(), 2026y / December / 7d, 1,
                           argv);
    const ShownWindows shown = showWindows(dir.path(), request.get());
    EXPECT_FALSE(shown.loaded);
    EXPECT_NE(shown.error.find(platform::kReminderWindowsLibrary), std::string::npos)
        << shown.error;
}

} // namespace
