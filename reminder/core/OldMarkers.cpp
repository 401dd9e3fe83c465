#include "reminder/core/OldMarkers.h"

#include "contacts/BirthdayMarkers.h"
#include "contacts/MarkerFile.h"

#include <algorithm>
#include <dirent.h>
#include <string_view>
#include <vector>

namespace reminder {

int removeBirthdayMarkersUpTo(const std::filesystem::path& programDir, Date lastDay, Date today)
{
    DIR* dir = ::opendir(programDir.c_str());
    if (!dir)
        return 0;
    // Named first, removed after: a directory is not changed while it is being read.
    std::vector<std::string> old;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        auto dates = contacts::birthdayMarkerDates(name);
        std::erase_if(dates, [&](const Date& date) { return date > today; });
        if (!dates.empty() &&
            std::ranges::all_of(dates, [&](const Date& date) { return date <= lastDay; }))
            old.emplace_back(name);
    }
    ::closedir(dir);
    int removed = 0;
    for (const std::string& name : old)
        removed += contacts::removeEmptyOwnFile(programDir, name) ? 1 : 0;
    return removed;
}

} // namespace reminder
