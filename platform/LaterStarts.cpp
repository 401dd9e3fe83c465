#include "platform/LaterStarts.h"

#include "system/FileLock.h"
#include "system/Hash64.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace platform {
namespace {

constexpr auto kRetryInterval = std::chrono::milliseconds(20);
constexpr int kBacklog = 8;

// The socket's address: a name in the abstract namespace (the path starts with a NUL byte) that
// carries the user and the lock file, so that two users and two installations never meet.
struct Address {
    sockaddr_un address{};
    socklen_t length = 0;
};

Address addressOf(const std::filesystem::path& lockFile)
{
    char name[64];
    const int size =
        std::snprintf(name, sizeof name, "tortavela-%u-%016llx", static_cast<unsigned>(::getuid()),
                      static_cast<unsigned long long>(sys::hash64(lockFile.native())));
    Address result;
    result.address.sun_family = AF_UNIX;
    std::memcpy(result.address.sun_path + 1, name, static_cast<size_t>(size));
    result.length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + size);
    return result;
}

int newSocket()
{
    return ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
}

bool fromThisUser(int connection)
{
    ucred peer{};
    socklen_t length = sizeof peer;
    return ::getsockopt(connection, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 &&
           peer.uid == ::getuid();
}

} // namespace

std::optional<LaterStarts> LaterStarts::listen(const std::filesystem::path& lockFile)
{
    sys::FileDescriptor fd(newSocket());
    if (fd.get() < 0)
        return std::nullopt;
    const Address address = addressOf(lockFile);
    if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address.address), address.length) !=
            0 ||
        ::listen(fd.get(), kBacklog) != 0)
        return std::nullopt;
    return LaterStarts(fd.release());
}

bool LaterStarts::takeCalls()
{
    bool called = false;
    for (;;) {
        const int connection = ::accept4(m_fd.get(), nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0)
            return called; // EAGAIN: no more waiting
        called = fromThisUser(connection) || called;
        ::close(connection);
    }
}

CallOutcome callRunningCopy(const std::filesystem::path& lockFile,
                            std::chrono::milliseconds patience,
                            const std::function<bool()>& stillRunning)
{
    const Address address = addressOf(lockFile);
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        sys::FileDescriptor fd(newSocket());
        if (fd.get() < 0)
            return CallOutcome::NotReached;
        // A listening socket takes the connection into its backlog at once: the running copy
        // needs not answer for the call to have reached it. The abstract namespace is open to
        // every user, so the listener is asked who it is before anything else happens.
        if (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address.address),
                      address.length) == 0)
            return fromThisUser(fd.get()) ? CallOutcome::Reached : CallOutcome::Stranger;
        if (std::chrono::steady_clock::now() >= deadline || !stillRunning())
            return CallOutcome::NotReached;
        std::this_thread::sleep_for(kRetryInterval);
    }
}

bool lockIsHeld(const std::filesystem::path& lockFile)
{
    return sys::FileLock::acquire(lockFile, sys::FileLock::Mode::TryOnce).heldByAnother;
}

} // namespace platform
