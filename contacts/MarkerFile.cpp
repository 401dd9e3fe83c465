#include "contacts/MarkerFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace contacts {
namespace {

bool isNameRefused(int error)
{
    return error == ENAMETOOLONG || error == EILSEQ || error == EINVAL;
}

bool isThere(const std::filesystem::path& file)
{
    struct stat info {};
    return ::lstat(file.c_str(), &info) == 0;
}

} // namespace

bool isMarkerName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\t\n\0", 4)) == std::string_view::npos;
}

MarkerMade makeMarkerFile(const std::filesystem::path& dir, const MarkerFile& marker)
{
    for (const std::string& former : marker.formerNames) {
        if (isMarkerName(former) && isThere(dir / former))
            return MarkerMade::AlreadyThere;
    }
    int error = 0;
    const auto create = [&](const std::string& name) {
        // O_EXCL: an existing file, or a link, which is never followed, counts as the marker.
        const int fd = ::open((dir / name).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            error = errno;
            return error == EEXIST ? MarkerMade::AlreadyThere : MarkerMade::Failed;
        }
        ::close(fd);
        return MarkerMade::Made;
    };
    const MarkerMade made = create(marker.name);
    if (made != MarkerMade::Failed || !isNameRefused(error) || marker.fallback.empty())
        return made;
    return create(marker.fallback);
}

bool markerFileExists(const std::filesystem::path& dir, const MarkerFile& marker)
{
    if (isThere(dir / marker.name) || (!marker.fallback.empty() && isThere(dir / marker.fallback)))
        return true;
    return std::ranges::any_of(marker.formerNames, [&](const std::string& former) {
        return isMarkerName(former) && isThere(dir / former);
    });
}

bool removeEmptyOwnFile(const std::filesystem::path& dir, std::string_view name)
{
    if (!isMarkerName(name))
        return false;
    const std::filesystem::path file = dir / name;
    struct stat info {};
    return ::lstat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size == 0 &&
           info.st_uid == ::geteuid() && ::unlink(file.c_str()) == 0;
}

void removeMarkerFile(const std::filesystem::path& dir, const MarkerFile& marker)
{
    removeEmptyOwnFile(dir, marker.name);
    if (!marker.fallback.empty())
        removeEmptyOwnFile(dir, marker.fallback);
}

} // namespace contacts
