#include "tests/reminder/PrivateDisplay.h"

#include "tests/reminder/ChildProcess.h"

#include <poll.h>
#include <random>
#include <unistd.h>

namespace {

constexpr const char* kXvfb = "/usr/bin/Xvfb";
constexpr int kStartTimeoutMs = 10000;
constexpr int kAttempts = 30;

} // namespace

PrivateDisplay::PrivateDisplay()
{
    if (::access(kXvfb, X_OK) != 0)
        return;
    // Servers started at the same moment with -displayfd alone can settle on the same number:
    // each try names a random display and keeps it only when the server reports it ready.
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<int> displays(100, 30000);
    for (int attempt = 0; attempt < kAttempts && m_name.empty(); ++attempt) {
        const std::string number = std::to_string(displays(random));
        int fds[2];
        if (::pipe(fds) != 0)
            return;
        m_server = std::make_unique<ChildProcess>(
            std::vector<std::string>{kXvfb, ":" + number, "-displayfd", std::to_string(fds[1]),
                                     "-noreset", "-screen", "0", "1280x800x24", "-nolisten", "tcp"},
            std::vector<std::string>{}, "/dev/null");
        ::close(fds[1]);
        pollfd ready{fds[0], POLLIN, 0};
        std::string reported;
        if (::poll(&ready, 1, kStartTimeoutMs) == 1) {
            char buffer[16] = {};
            const ssize_t n = ::read(fds[0], buffer, sizeof buffer - 1);
            for (ssize_t i = 0; i < n && buffer[i] >= '0' && buffer[i] <= '9'; ++i)
                reported.push_back(buffer[i]);
        }
        ::close(fds[0]);
        if (reported == number)
            m_name = ":" + number;
        else if (m_server)
            m_server->kill(SIGTERM);
    }
}

PrivateDisplay::~PrivateDisplay()
{
    // Asked to end, the server removes its lock file and socket for the next one.
    if (m_server)
        m_server->kill(SIGTERM);
}
