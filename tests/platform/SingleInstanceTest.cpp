#include "platform/SingleInstance.h"

#include "tests/support/TempDir.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
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

// Sets $XDG_RUNTIME_DIR (or unsets it, for nullptr) for one test.
class RuntimeDir {
public:
    explicit RuntimeDir(const char* dir)
    {
        if (const char* old = std::getenv("XDG_RUNTIME_DIR"))
            m_old = old;
        if (dir)
            ::setenv("XDG_RUNTIME_DIR", dir, 1);
        else
            ::unsetenv("XDG_RUNTIME_DIR");
    }
    ~RuntimeDir()
    {
        if (m_old)
            ::setenv("XDG_RUNTIME_DIR", m_old->c_str(), 1);
        else
            ::unsetenv("XDG_RUNTIME_DIR");
    }

private:
    std::optional<std::string> m_old;
};

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

TEST(SingleInstance, HoldsWhenTheProgramDirectoryCannotHoldTheLock)
{
    TempDir dir;
    TempDir runtime;
    const RuntimeDir runtimeDir(runtime.path().c_str());
    // A folder where the lock file would go fails its creation as a read-only directory does,
    // also for root.
    std::filesystem::create_directories(platform::instanceLockPath(dir.path(), "Avisela") / "x");
    {
        const auto first = SingleInstance::acquire(dir.path(), "Avisela");
        EXPECT_EQ(first.outcome(), SingleInstance::Outcome::First);
        EXPECT_EQ(first.lockFile().parent_path(), runtime.path());
        EXPECT_EQ(outcomeInAnotherProcess(dir.path(), "Avisela"),
                  SingleInstance::Outcome::AlreadyRunning);
        // The same program in another such directory has a lock of its own.
        TempDir other;
        std::filesystem::create_directories(platform::instanceLockPath(other.path(), "Avisela") /
                                            "x");
        EXPECT_EQ(outcomeInAnotherProcess(other.path(), "Avisela"), SingleInstance::Outcome::First);
    }
    EXPECT_EQ(outcomeInAnotherProcess(dir.path(), "Avisela"), SingleInstance::Outcome::First);
}

TEST(SingleInstance, WithNoPlaceForALockTheProgramStillRuns)
{
    const RuntimeDir noRuntimeDir(nullptr);
    const auto outcome = SingleInstance::acquire("/nonexistent/tortavela", "Agendela").outcome();
    EXPECT_EQ(outcome, SingleInstance::Outcome::Unavailable);
    EXPECT_FALSE(SingleInstance::acquire("/nonexistent/tortavela", "Agendela").anotherIsRunning());
}

// Whoever can open a lock file can hold it, and so keep the program from starting: the lock is
// the user's alone, also one that an older version made open to all.
TEST(SingleInstance, TheLockFileIsOpenToItsUserAlone)
{
    TempDir dir;
    const auto lockFile = platform::instanceLockPath(dir.path(), "Agendela");
    writeBytes(lockFile, "");
    std::filesystem::permissions(lockFile, std::filesystem::perms(0644));
    const auto first = SingleInstance::acquire(dir.path(), "Agendela");
    EXPECT_EQ(first.outcome(), SingleInstance::Outcome::First);
    EXPECT_EQ(std::filesystem::status(lockFile).permissions(), std::filesystem::perms(0600));
}
