#include "platform/SingleStart.h"

#include "platform/LaterStarts.h"

#include <chrono>

namespace platform {
namespace {

// A copy started a moment ago may not listen yet (the reminder scans first); one that never
// answers is not waited for long.
constexpr std::chrono::milliseconds kPatienceWithTheRunningCopy(2000);

} // namespace

std::optional<SingleInstance> startAsTheOnlyCopy(const std::filesystem::path& programDir,
                                                 std::string_view programName)
{
    SingleInstance instance = SingleInstance::acquire(programDir, programName);
    if (!instance.anotherIsRunning())
        return instance;
    const CallOutcome call = callRunningCopy(instance.lockFile(), kPatienceWithTheRunningCopy,
                                             [&] { return lockIsHeld(instance.lockFile()); });
    if (call == CallOutcome::Stranger)
        return instance;
    return std::nullopt;
}

} // namespace platform
