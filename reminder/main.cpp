// Avisela, the reminder started at logon. On most days it finds nothing to announce and must end
// unseen and fast, often on a cold disk: it links no Qt, and loads its windows library only when
// the scan found names to show.
#include "platform/LaterStarts.h"
#include "platform/ProgramDirectory.h"
#include "platform/Programs.h"
#include "platform/SingleStart.h"
#include "platform/Today.h"
#include "reminder/core/StartupScan.h"
#include "reminder/core/WindowsHandOver.h"

#include <cstdio>

int main(int argc, char* argv[])
{
    const auto programDir = platform::programDirectory();
    // A second copy ends before it touches any file, bringing the first one's windows to the
    // front; the lock lasts until this copy ends. A first copy that ends unseen meanwhile found
    // nothing to announce: so would this one.
    const auto instance = platform::startAsTheOnlyCopy(programDir, platform::kReminderName);
    if (!instance)
        return 0;

    const reminder::Date today = platform::localToday();
    const auto due = reminder::runStartup(programDir, today);
    if (!due || !due->anyDue())
        return 0;

    reminder::WindowsRequest request(*due, programDir, today, argc, argv);
    if (auto laterStarts = platform::LaterStarts::listen(instance->lockFile()))
        request.get().laterStarts = laterStarts->release();
    const auto shown = reminder::showWindows(programDir, request.get());
    if (!shown.loaded) {
        std::fprintf(stderr, "Avisela: %s\n", shown.error.c_str());
        return 1;
    }
    return shown.exitCode;
}
