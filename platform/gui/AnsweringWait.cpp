#include "platform/gui/AnsweringWait.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace platform {
namespace {

constexpr int kLongestHandlingMs = 20;

} // namespace

sys::FileLock::KeepWaiting answeringWait(std::chrono::milliseconds patience, bool* waiting)
{
    return [patience, waiting](std::chrono::milliseconds waited) {
        if (waited >= patience)
            return false;
        if (waiting)
            *waiting = true;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, kLongestHandlingMs);
        if (waiting)
            *waiting = false;
        return true;
    };
}

} // namespace platform
