#include "platform/LaterStarts.h"

#include "tests/support/TempDir.h"

#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;
using platform::LaterStarts;

namespace {

// Starts `work` in a child process, as another start of the program.
pid_t startInAnotherProcess(const std::function<bool()>& work)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(work() ? 1 : 0);
    return child;
}

// What the child's work gave, once it ended.
bool resultOf(pid_t child)
{
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 1;
}

bool inAnotherProcess(const std::function<bool()>& work)
{
    return resultOf(startInAnotherProcess(work));
}

bool calls(const std::filesystem::path& lockFile)
{
    return platform::callRunningCopy(lockFile, 2s, [] { return true; }) ==
           platform::CallOutcome::Reached;
}

} // namespace

TEST(LaterStarts, ALaterStartReachesTheRunningCopyOnly)
{
    TempDir dir;
    const auto lockFile = dir / ".Agendela.lock";
    auto running = LaterStarts::listen(lockFile);
    ASSERT_TRUE(running);
    EXPECT_FALSE(running->takeCalls());
    EXPECT_TRUE(inAnotherProcess([&] { return calls(lockFile); }));
    EXPECT_TRUE(running->takeCalls());
    EXPECT_FALSE(running->takeCalls());
    // Another program, or the same one installed elsewhere, is another copy.
    EXPECT_TRUE(inAnotherProcess([&] {
        return platform::callRunningCopy(dir / ".Avisela.lock", 2s, [] { return false; }) ==
               platform::CallOutcome::NotReached;
    }));
    EXPECT_FALSE(running->takeCalls());
}

// A copy that holds the lock but has not begun to listen yet (the reminder scans first) is
// waited for; one that ends meanwhile is not.
TEST(LaterStarts, ACopyThatStartedAMomentAgoIsWaitedFor)
{
    TempDir dir;
    const auto lockFile = dir / ".Avisela.lock";
    const pid_t late = startInAnotherProcess([&] {
        std::this_thread::sleep_for(200ms);
        auto running = LaterStarts::listen(lockFile);
        if (!running)
            return false;
        pollfd waiting{running->descriptor(), POLLIN, 0};
        return ::poll(&waiting, 1, 5000) == 1 && running->takeCalls();
    });
    EXPECT_TRUE(calls(lockFile));
    EXPECT_TRUE(resultOf(late));

    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(platform::callRunningCopy(dir / "gone.lock", 10s, [] { return false; }),
              platform::CallOutcome::NotReached);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 1s);
}

// Another user who takes the name first hears no later start: the start tells it apart as soon
// as it connects, and goes on as if no copy ran.
TEST(LaterStarts, AStrangerListeningUnderTheNameIsNotCalled)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    TempDir dir;
    const auto lockFile = dir / ".Agendela.lock";
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t stranger = startInAnotherProcess([&] {
        // The same real user, so the same name; another effective one, which is who listens.
        if (::setresuid(0, 65534, 0) != 0)
            return false;
        auto listening = LaterStarts::listen(lockFile);
        const char byte = listening ? 1 : 0;
        if (::write(ready[1], &byte, 1) != 1)
            return false;
        ::pause();
        return true;
    });
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    EXPECT_EQ(byte, 1);
    EXPECT_EQ(platform::callRunningCopy(lockFile, 2s, [] { return true; }),
              platform::CallOutcome::Stranger);
    ::kill(stranger, SIGKILL);
    resultOf(stranger);
    ::close(ready[0]);
    ::close(ready[1]);
}
