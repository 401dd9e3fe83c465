// The daily timer is enabled once, where a systemd user instance answers, and the user's choice
// stands from then on. A stand-in systemctl records what it is asked.
#include "platform/DailyTimer.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace platform;
using namespace std::chrono_literals;

namespace {

class DailyTimer : public testing::Test {
protected:
    TempDir dir;
    std::filesystem::path programDir() const { return dir / "program"; }
    std::string systemctl() const { return (dir / "systemctl").string(); }
    std::string calls() const { return readBytes(dir / "calls"); }

    void SetUp() override { std::filesystem::create_directory(programDir()); }

    // A systemctl whose user instance answers `show` with `instance` and `enable` with `enable`.
    void standIn(int instance, int enable, const std::string& extra = "")
    {
        writeBytes(dir / "systemctl", "#!/bin/sh\n"
                                      "echo \"$*\" >> '" +
                                          (dir / "calls").string() + "'\n" + extra +
                                          "case \"$2\" in show) exit " + std::to_string(instance) +
                                          ";; enable) exit " + std::to_string(enable) +
                                          ";; esac\nexit 0\n");
        ::chmod((dir / "systemctl").c_str(), 0755);
    }
};

TEST_F(DailyTimer, IsEnabledOnceAndThenLeftAsTheUserSetIt)
{
    standIn(0, 0);
    EXPECT_EQ(enableDailyTimerOnce(programDir(), systemctl()), DailyTimerEnabling::Enabled);
    EXPECT_EQ(calls(), "--user show --property=Version\n"
                       "--user enable --now tortavela-avisela.timer\n");
    EXPECT_TRUE(std::filesystem::exists(programDir() / kDailyTimerEnabledFileName));

    // The user switched it off (systemctl --user disable): the next starts ask nothing.
    for (int start = 0; start < 3; ++start)
        EXPECT_EQ(enableDailyTimerOnce(programDir(), systemctl()),
                  DailyTimerEnabling::EnabledBefore);
    EXPECT_EQ(calls(), "--user show --property=Version\n"
                       "--user enable --now tortavela-avisela.timer\n");
}

TEST_F(DailyTimer, WithoutAUserInstanceNothingIsDoneOrRecorded)
{
    standIn(1, 0);
    EXPECT_EQ(enableDailyTimerOnce(programDir(), systemctl()), DailyTimerEnabling::NoUserInstance);
    EXPECT_EQ(calls(), "--user show --property=Version\n"); // no enable, which works offline
    EXPECT_FALSE(std::filesystem::exists(programDir() / kDailyTimerEnabledFileName));
    // No systemctl at all.
    EXPECT_EQ(enableDailyTimerOnce(programDir(), (dir / "none").string()),
              DailyTimerEnabling::NoUserInstance);

    // Once the instance answers, the next start enables it.
    standIn(0, 0);
    EXPECT_EQ(enableDailyTimerOnce(programDir(), systemctl()), DailyTimerEnabling::Enabled);
}

TEST_F(DailyTimer, AFailedEnableIsTriedAgainAtTheNextStart)
{
    standIn(0, 1); // the unit is not where the instance looks
    EXPECT_EQ(enableDailyTimerOnce(programDir(), systemctl()), DailyTimerEnabling::Failed);
    EXPECT_FALSE(std::filesystem::exists(programDir() / kDailyTimerEnabledFileName));
    standIn(0, 0);
    EXPECT_EQ(enableDailyTimerOnce(programDir(), systemctl()), DailyTimerEnabling::Enabled);
}

TEST_F(DailyTimer, AnInstanceThatHangsIsGivenUp)
{
    standIn(0, 0, "exec sleep 30\n");
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(runQuietly({systemctl(), "--user", "show"}, 300ms), -1);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
}

} // namespace
