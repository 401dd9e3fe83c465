#include "PrivateDisplay.h"

#include "ChildProcess.h"

#include <poll.h>
#include <unistd.h>

namespace {

constexpr const char* kXvfb = "/usr/bin/Xvfb";
constexpr int kStartTimeoutMs = 10000;

} // namespace

PrivateDisplay::PrivateDisplay()
{
    if (::access(kXvfb, X_OK) != 0)
        return;
    int fds[2];
    if (::pipe(fds) != 0)
        return;
    // Xvfb picks a free display number and writes it to the descriptor it is given.
    m_server = std::make_unique<ChildProcess>(
        std::vector<std::string>{kXvfb, "-displayfd", std::to_string(fds[1]), "-screen", "0",
                                 "1280x800x24", "-nolisten", "tcp"},
        std::vector<std::string>{}, "/dev/null");
    ::close(fds[1]);
    pollfd ready{fds[0], POLLIN, 0};
    std::string number;
    if (::poll(&ready, 1, kStartTimeoutMs) == 1) {
        char buffer[16] = {};
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer - 1);
        for (ssize_t i = 0; i < n && buffer[i] >= '0' && buffer[i] <= '9'; ++i)
            number.push_back(buffer[i]);
    }
    ::close(fds[0]);
    if (!number.empty())
        m_name = ":" + number;
}

PrivateDisplay::~PrivateDisplay() = default;
