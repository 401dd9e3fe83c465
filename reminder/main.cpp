// Avisela, the reminder started at logon and once a day while the session stays open. On most
// days it finds nothing to announce and must end unseen and fast, often on a cold disk: it links
// no Qt, and loads its windows library only when the scan found names to show.
#include "platform/LaterStarts.h"
#include "platform/ProgramDirectory.h"
#include "platform/Programs.h"
#include "platform/SingleStart.h"
#include "platform/Today.h"
#include "reminder/core/AgeDays.h"
#include "reminder/core/AgeUpdate.h"
#include "reminder/core/OldMarkers.h"
#include "reminder/core/StartupScan.h"
#include "reminder/core/WindowsHandOver.h"

#include <cstdio>
#include <cstdlib>

namespace {

bool isSet(const char* variable)
{
    const char* value = std::getenv(variable);
    return value && *value;
}

// A start without a display (a timer's start in a session that gave its user manager none)
// could show nothing: it leaves everything for the next start that can.
bool canShowWindows()
{
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM");
}

} // namespace

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
    const reminder::AgeDays days =
        reminder::planAgeDays(reminder::readAgesUpToDate(programDir), today);
    if (isSet(platform::kDailyStartVariable) && !days.firstStartOfTheDay)
        return 0;
    if (days.firstStartOfTheMonth)
        reminder::removeBirthdayMarkersUpTo(programDir, reminder::oldestMarkerKept(today), today);
    const auto due = reminder::runStartup(programDir, today, days.catchUpAfter);
    if (!due)
        return 0;
    if ((due->anyDue() || !due->missed.empty()) && !canShowWindows())
        return 0;

    // With birthdays today the today window brings the ages up to date, the catch-up with them.
    // Otherwise this start does, before any window: a day that missed nothing ends unseen.
    std::vector<reminder::CaughtUpBirthday> caughtUp;
    if (due->today.empty() && days.agesMayChange) {
        if (!due->missed.empty())
            caughtUp = reminder::bringAgesUpToDate(programDir, today, days, {}).caughtUp;
        else if (days.firstStartOfTheDay)
            reminder::recordAgesUpToDate(programDir, today);
    }
    if (!due->anyDue() && caughtUp.empty())
        return 0;

    reminder::WindowsRequest request(*due, programDir, today, argc, argv, days, caughtUp);
    if (auto laterStarts = platform::LaterStarts::listen(instance->lockFile()))
        request.get().laterStarts = laterStarts->release();
    const auto shown = reminder::showWindows(programDir, request.get());
    if (!shown.loaded) {
        std::fprintf(stderr, "Avisela: %s\n", shown.error.c_str());
        return 1;
    }
    return shown.exitCode;
}
