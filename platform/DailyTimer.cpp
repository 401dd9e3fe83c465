#include "platform/DailyTimer.h"

#include "system/DurableWrite.h"
#include "system/FileDescriptor.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace platform {

int runQuietly(const std::vector<std::string>& command, std::chrono::milliseconds patience)
{
    if (command.empty())
        return -1;
    std::vector<char*> argv;
    argv.reserve(command.size() + 1);
    for (const std::string& argument : command)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = -1;
    const int spawned = ::posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    const auto deadline = std::chrono::steady_clock::now() + patience;
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done == child)
            break;
        if (done < 0 && errno != EINTR)
            return -1;
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

DailyTimerEnabling enableDailyTimerOnce(const std::filesystem::path& programDir,
                                        const std::string& systemctl)
{
    const auto record = programDir / kDailyTimerEnabledFileName;
    struct stat info {};
    if (::lstat(record.c_str(), &info) == 0)
        return DailyTimerEnabling::EnabledBefore;
    // "show" needs the instance itself, where "enable" would change files without one.
    if (runQuietly({systemctl, "--user", "show", "--property=Version"}, kSystemctlPatience) != 0)
        return DailyTimerEnabling::NoUserInstance;
    if (runQuietly({systemctl, "--user", "enable", "--now", kDailyTimerUnit}, kSystemctlPatience) !=
        0)
        return DailyTimerEnabling::Failed;
    const sys::FileDescriptor fd(
        ::open(record.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (fd.get() >= 0)
        sys::writeAll(fd.get(),
                      "The manager enabled tortavela-avisela.timer once. While this file stands "
                      "it leaves the timer as the user set it (systemctl --user disable or "
                      "enable).\n");
    return DailyTimerEnabling::Enabled;
}

} // namespace platform
