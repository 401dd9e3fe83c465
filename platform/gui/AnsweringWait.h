#pragma once

#include "system/FileLock.h"

#include <chrono>

// How a window waits while another program holds the contact file's lock: it keeps painting and
// answering the desktop (input waits until the change is done), and after `patience` it gives
// up, so that the change fails with a reason the user is told instead of a window that hangs.
namespace platform {

inline constexpr std::chrono::seconds kLockPatience{4};

// `waiting`, when given, is true while events are handled within the wait: a handler that must
// not run in the middle of a change looks at it.
sys::FileLock::KeepWaiting answeringWait(std::chrono::milliseconds patience,
                                         bool* waiting = nullptr);

} // namespace platform
