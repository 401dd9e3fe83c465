#pragma once

#include "reminder/core/AgeDays.h"
#include "reminder/core/AgeUpdate.h"
#include "reminder/core/AviselaWindowsAbi.h"
#include "reminder/core/DueBirthdays.h"

#include <filesystem>
#include <string>
#include <vector>

// Avisela hands the scan's result to its windows library, which it loads only on a day with names
// to show, so that the days without them never load Qt.
namespace reminder {

inline constexpr const char* kShowWindowsSymbol = "avisela_show_windows";

// Builds the request for a scan's result; the request points into this object and the lists.
class WindowsRequest {
public:
    WindowsRequest(const DueBirthdays& due, const std::filesystem::path& programDir, Date today,
                   int argc, char** argv, const AgeDays& days = {},
                   const std::vector<CaughtUpBirthday>& caughtUp = {});
    WindowsRequest(const WindowsRequest&) = delete;
    WindowsRequest& operator=(const WindowsRequest&) = delete;

    AviselaWindowsRequest& get() { return m_request; }

private:
    std::string m_programDir;
    std::vector<AviselaText> m_lists[4];
    std::vector<AviselaCaughtUp> m_caughtUp;
    AviselaWindowsRequest m_request{};
};

// The other side: the lists, the date, the day plan of the age update and the birthdays caught
// up, of a request.
DueBirthdays dueBirthdaysOf(const AviselaWindowsRequest& request);
Date dateOf(const AviselaWindowsRequest& request);
AgeDays ageDaysOf(const AviselaWindowsRequest& request);
std::vector<CaughtUpBirthday> caughtUpOf(const AviselaWindowsRequest& request);

// Loads the windows library from the program directory and runs it. Gives its exit code, or
// nothing when it cannot be loaded (`error` tells why).
struct ShownWindows {
    bool loaded = false;
    int exitCode = 1;
    std::string error;
};
ShownWindows showWindows(const std::filesystem::path& programDir, AviselaWindowsRequest& request);

} // namespace reminder
