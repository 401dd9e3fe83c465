#include "StartupScan.h"

#include "ContactFile.h"
#include "DayMarkers.h"
#include "FileDescriptor.h"
#include "LineReader.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace reminder {

ScanResult scanContactFile(const std::filesystem::path& programDir, Date today)
{
    ScanResult result;
    contacts::FileDescriptor fd(
        ::open(contacts::contactFilePath(programDir).c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        result.status = errno == ENOENT ? ScanResult::Status::Missing : ScanResult::Status::Failed;
        return result;
    }
    // The sequential hint lets the kernel read ahead on the cold disk of a logon.
    ::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);

    DueBirthdayCollector collector(today);
    LineReader reader(fd.get());
    std::string_view line;
    for (;;) {
        switch (reader.next(line)) {
        case LineReader::Result::Line:
            collector.addLine(line);
            break;
        case LineReader::Result::End:
            result.status = ScanResult::Status::Scanned;
            result.due = collector.takeDue();
            return result;
        case LineReader::Result::Failed:
            // A directory named "data.tvl" ends up here too.
            return result;
        }
    }
}

std::optional<DueBirthdays> runStartup(const std::filesystem::path& programDir, Date today)
{
    deleteLastMonthsDayMarker(programDir, today);
    ScanResult scan = scanContactFile(programDir, today);
    if (scan.status == ScanResult::Status::Missing) {
        createDayMarker(programDir, today);
        scan = scanContactFile(programDir, today);
    }
    if (scan.status != ScanResult::Status::Scanned)
        return std::nullopt;
    return std::move(scan.due);
}

} // namespace reminder
