#pragma once

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
                   int argc, char** argv);
    WindowsRequest(const WindowsRequest&) = delete;
    WindowsRequest& operator=(const WindowsRequest&) = delete;

    AviselaWindowsRequest& get() { return m_request; }

private:
    std::string m_programDir;
    std::vector<AviselaText> m_lists[4];
    AviselaWindowsRequest m_request{};
};

// The other side: the lists and the date of a request.
DueBirthdays dueBirthdaysOf(const AviselaWindowsRequest& request);
Date dateOf(const AviselaWindowsRequest& request);

// Loads the windows library from the program directory and runs it. Gives its exit code, or
// nothing when it cannot be loaded (`error` tells why).
struct ShownWindows {
    bool loaded = false;
    int exitCode = 1;
    std::string error;
};
ShownWindows showWindows(const std::filesystem::path& programDir, AviselaWindowsRequest& request);

} // namespace reminder
