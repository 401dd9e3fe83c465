#pragma once

#include "platform/SingleInstance.h"

#include <filesystem>
#include <optional>
#include <string_view>

namespace platform {

// The start of either program as the one copy of its program directory. A later start asks the
// copy that runs to bring its windows to the front and gets nothing: it must end before it shows
// or touches anything. A copy that has only just started may not listen yet, and is waited for a
// moment. When another user took the name the copies meet at, this start goes on as if no copy
// ran.
std::optional<SingleInstance> startAsTheOnlyCopy(const std::filesystem::path& programDir,
                                                 std::string_view programName);

} // namespace platform
