// Times whole processes:
//   process_timer [--runs N] [--warmup N] [--until-output] [--quiet] -- COMMAND...
// Prints the median, the fastest and the mean wall time in milliseconds. With --until-output a
// run ends when the command first writes to its standard output (its windows are painted), and
// the process is then left to finish untimed. --quiet sends the command's errors to /dev/null.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <numeric>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

int usage()
{
    std::fprintf(stderr,
                 "usage: process_timer [--runs N] [--warmup N] [--until-output] [--quiet] -- "
                 "COMMAND...\n");
    return 2;
}

// One run; negative when the command failed.
double timeOneRun(char** command, bool untilOutput, bool quiet)
{
    int fds[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (quiet)
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    if (untilOutput) {
        if (::pipe(fds) != 0)
            return -1;
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    }
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, command[0], &actions, nullptr, command, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    double elapsed = -1;
    if (untilOutput) {
        ::close(fds[1]);
        char byte;
        if (::read(fds[0], &byte, 1) == 1)
            elapsed =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
        ::close(fds[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        return elapsed;
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    elapsed =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    // birthday exits with 1 when it has nothing to say: only a crash counts as a failure.
    return WIFEXITED(status) ? elapsed : -1;
}

} // namespace

int main(int argc, char* argv[])
{
    int runs = 50;
    int warmup = 3;
    bool untilOutput = false;
    bool quiet = false;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc)
            runs = std::atoi(argv[++i]);
        else if (arg == "--warmup" && i + 1 < argc)
            warmup = std::atoi(argv[++i]);
        else if (arg == "--until-output")
            untilOutput = true;
        else if (arg == "--quiet")
            quiet = true;
        else if (arg == "--")
            break;
        else
            return usage();
    }
    if (i + 1 >= argc || runs < 1)
        return usage();
    char** command = argv + i + 1;

    for (int run = 0; run < warmup; ++run)
        timeOneRun(command, untilOutput, quiet);
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const double ms = timeOneRun(command, untilOutput, quiet);
        if (ms < 0) {
            std::fprintf(stderr, "process_timer: %s failed\n", command[0]);
            return 1;
        }
        times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    const double median = times.size() % 2
                              ? times[times.size() / 2]
                              : (times[times.size() / 2 - 1] + times[times.size() / 2]) / 2;
    const double mean = std::accumulate(times.begin(), times.end(), 0.0) / times.size();
    std::printf("%.3f %.3f %.3f\n", median, times.front(), mean);
    return 0;
}
