#include "SingleInstance.h"

#include "TempDir.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using platform::SingleInstance;

namespace {

// The outcome that another process gets for the same program directory and name.
SingleInstance::Outcome outcomeInAnotherProcess(const std::filesystem::path& dir, const char* name)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(static_cast<int>(SingleInstance::acquire(dir, name).outcome()));
    int status = 0;
    ::waitpid(child, &status, 0);
    return static_cast<SingleInstance::Outcome>(WEXITSTATUS(status));
}

} // namespace

TEST(SingleInstance, ASecondCopyIsToldTheFirstRuns)
{
    TempDir dir;
    {
        const auto first = SingleInstance::acquire(dir.path(), "Agendela");
        EXPECT_EQ(first.outcome(), SingleInstance::Outcome::First);
        EXPECT_EQ(outcomeInAnotherProcess(dir.path(), "Agendela"),
                  SingleInstance::Outcome::AlreadyRunning);
        // The other program and another installation are not affected.
        EXPECT_EQ(outcomeInAnotherProcess(dir.path(), "Avisela"), SingleInstance::Outcome::First);
        TempDir other;
        EXPECT_EQ(outcomeInAnotherProcess(other.path(), "Agendela"),
                  SingleInstance::Outcome::First);
    }
    EXPECT_EQ(outcomeInAnotherProcess(dir.path(), "Agendela"), SingleInstance::Outcome::First);
}

TEST(SingleInstance, ACopyThatDiedWithoutCleaningUpBlocksNothing)
{
    TempDir dir;
    const pid_t child = ::fork();
    if (child == 0) {
        const auto held = SingleInstance::acquire(dir.path(), "Agendela");
        ::_exit(held.outcome() == SingleInstance::Outcome::First ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(std::filesystem::exists(platform::instanceLockPath(dir.path(), "Agendela")));
    EXPECT_EQ(SingleInstance::acquire(dir.path(), "Agendela").outcome(),
              SingleInstance::Outcome::First);
}

TEST(SingleInstance, AnUnwritableDirectoryDoesNotStopTheProgram)
{
    const auto outcome = SingleInstance::acquire("/nonexistent/tortavela", "Agendela").outcome();
    EXPECT_EQ(outcome, SingleInstance::Outcome::Unavailable);
    EXPECT_FALSE(SingleInstance::acquire("/nonexistent/tortavela", "Agendela").anotherIsRunning());
}
