#pragma once

#include <chrono>
#include <csignal>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

// A program started by a test with an environment of its own, its output going to files. It is
// killed when the object goes, so that a failing test leaves nothing running.
class ChildProcess {
public:
    ChildProcess(const std::vector<std::string>& command,
                 const std::vector<std::string>& environment,
                 const std::filesystem::path& outputFile);
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    bool started() const { return m_pid > 0; }

    // The exit code, or nothing when it has not ended within the time (or died of a signal).
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);
    bool running();
    // Sends the signal and waits for the end; a server given SIGTERM removes its lock files.
    void kill(int signal = SIGKILL);

private:
    pid_t m_pid = -1;
    std::optional<int> m_status;
};

// Polls until the condition holds or the time is over; gives the last answer.
template <typename Condition>
bool eventually(Condition condition, std::chrono::milliseconds timeout = std::chrono::seconds(10))
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return condition();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}
