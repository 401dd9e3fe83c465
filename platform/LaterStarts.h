#pragma once

#include "system/FileDescriptor.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>

// A later start of a program reaches the copy that runs, to bring its windows to the front. The
// running copy listens on a socket named after its single-instance lock file, in the abstract
// namespace of Linux: nothing is made on disk, so a read-only program directory does not matter,
// and the name goes away with the process. Only calls from the same user are taken.
namespace platform {

class LaterStarts {
public:
    // Starts listening; nothing when no socket can be made (the program then runs unreachable).
    static std::optional<LaterStarts> listen(const std::filesystem::path& lockFile);
    // Takes over a listening descriptor handed over by release().
    explicit LaterStarts(int fd) : m_fd(fd) {}

    // A descriptor that becomes readable when a later start calls.
    int descriptor() const { return m_fd.get(); }
    // Takes every waiting call; true when one of them came from this user.
    bool takeCalls();
    // Hands the descriptor over to a new owner, who closes it.
    int release() { return m_fd.release(); }

private:
    sys::FileDescriptor m_fd;
};

enum class CallOutcome {
    Reached,
    NotReached,
    // The name was answered by a program of another user, who took it first: nothing was sent,
    // and this start goes on as if no copy ran.
    Stranger,
};

// Asks the copy that holds the lock file to bring its windows to the front. A copy that has only
// just started may not listen yet: the call is tried again until `patience` runs out or
// `stillRunning` says that copy has ended.
CallOutcome callRunningCopy(const std::filesystem::path& lockFile,
                            std::chrono::milliseconds patience,
                            const std::function<bool()>& stillRunning);

// Whether a copy still holds the lock file.
bool lockIsHeld(const std::filesystem::path& lockFile);

} // namespace platform
