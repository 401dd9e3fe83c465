#include "reminder/core/StartupScan.h"

#include "contacts/ContactFile.h"
#include "reminder/core/DayMarkers.h"
#include "reminder/core/LineReader.h"

#include <fcntl.h>
#include <unistd.h>

namespace reminder {

ScanResult scanContactFile(const std::filesystem::path& programDir, Date today,
                           std::optional<Date> catchUpAfter)
{
    ScanResult result;
    // Only a regular file: a FIFO would hold the logon forever, a device would never end.
    const contacts::OpenedFile opened =
        contacts::openRegularFile(contacts::contactFilePath(programDir));
    if (opened.fd.get() < 0) {
        result.status = opened.status == contacts::FileContent::Status::Missing
                            ? ScanResult::Status::Missing
                            : ScanResult::Status::Failed;
        return result;
    }
    // The sequential hint lets the kernel read ahead on the cold disk of a logon.
    ::posix_fadvise(opened.fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);

    DueBirthdayCollector collector(today, catchUpAfter);
    // The file is streamed, so it may be larger than the programs read whole; a line longer
    // than such a file is passed over like any line without its terminators.
    LineReader reader(opened.fd.get(), contacts::kMaxContactFileBytes);
    if (collector.addLines(reader)) {
        result.status = ScanResult::Status::Scanned;
        result.due = collector.takeDue();
    }
    return result;
}

std::optional<DueBirthdays> runStartup(const std::filesystem::path& programDir, Date today,
                                       std::optional<Date> catchUpAfter)
{
    deleteLastMonthsDayMarker(programDir, today);
    ScanResult scan = scanContactFile(programDir, today, catchUpAfter);
    if (scan.status == ScanResult::Status::Missing) {
        createDayMarker(programDir, today);
        scan = scanContactFile(programDir, today, catchUpAfter);
    }
    if (scan.status != ScanResult::Status::Scanned)
        return std::nullopt;
    return std::move(scan.due);
}

} // namespace reminder
