#include "DueBirthdays.h"

#include "Birthday.h"
#include "Lines.h"
#include "Record.h"

namespace reminder {
namespace {

// The scan needs fields 0 to 6 of a line; it never looks for the terminator of field 7.
constexpr int kScannedFields = 7;

} // namespace

DueBirthdayCollector::DueBirthdayCollector(Date today)
    : m_dates{today, daysAfter(today, 1), daysAfter(today, 2), daysAfter(today, 3)}
{}

void DueBirthdayCollector::addLine(std::string_view line)
{
    const auto fields = contacts::splitFields(line, kScannedFields);
    if (!fields)
        return;
    const auto birthday = contacts::parseBirthday((*fields)[contacts::Cumple]);
    if (!birthday)
        return;
    std::vector<std::string>* lists[4] = {&m_due.today, &m_due.inOneDay, &m_due.inTwoDays,
                                          &m_due.inThreeDays};
    for (int offset = 0; offset < 4; ++offset) {
        if (contacts::fallsOn(*birthday, m_dates[offset])) {
            lists[offset]->emplace_back((*fields)[contacts::Nombre]);
            return;
        }
    }
}

DueBirthdays dueBirthdaysIn(std::string_view content, Date today)
{
    DueBirthdayCollector collector(today);
    contacts::forEachLine(content, [&](std::string_view line) {
        collector.addLine(line);
        return true;
    });
    return collector.takeDue();
}

} // namespace reminder
