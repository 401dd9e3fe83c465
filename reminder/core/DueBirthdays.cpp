#include "reminder/core/DueBirthdays.h"

#include "contacts/Lines.h"
#include "contacts/Record.h"

namespace reminder {
namespace {

// The scan needs fields 0 to 6 of a line; it never looks for the terminator of field 7.
constexpr int kScannedFields = 7;

// Takes the field before the next terminator off `rest`.
inline bool takeField(std::string_view& rest, std::string_view& field)
{
    const size_t at = rest.find(contacts::kTerminator);
    if (at == std::string_view::npos)
        return false;
    field = rest.substr(0, at);
    rest.remove_prefix(at + 1);
    return true;
}

// Reads field 3 at the start of `rest` when it has the shape that the programs write, one or
// two digits, "/", one or two digits, and takes it with its terminator off `rest`. Nothing for
// any other shape, which the general parser then reads: this only spares it most lines.
std::optional<contacts::DayMonth> takeWrittenBirthday(std::string_view& rest)
{
    const auto digit = [&rest](std::size_t at) {
        return at < rest.size() && rest[at] >= '0' && rest[at] <= '9';
    };
    const auto number = [&rest, &digit](std::size_t& at) {
        int value = rest[at++] - '0';
        if (digit(at))
            value = value * 10 + (rest[at++] - '0');
        return value;
    };
    std::size_t at = 0;
    if (!digit(at))
        return std::nullopt;
    const int day = number(at);
    if (at >= rest.size() || rest[at++] != '/' || !digit(at))
        return std::nullopt;
    const int month = number(at);
    if (at >= rest.size() || rest[at] != contacts::kTerminator || day < 1 || day > 31 ||
        month < 1 || month > 12)
        return std::nullopt;
    rest.remove_prefix(at + 1);
    return contacts::DayMonth{day, month};
}

} // namespace

DueBirthdayCollector::DueBirthdayCollector(Date today, std::optional<Date> catchUpAfter)
{
    if (catchUpAfter) {
        for (Date date = daysAfter(*catchUpAfter, 1); date < today; date = daysAfter(date, 1)) {
            m_missed[static_cast<std::size_t>(monthOf(date))]
                    [static_cast<std::size_t>(dayOf(date))] = true;
            if (contacts::fallsOn({29, 2}, date))
                m_missed[2][29] = true;
        }
    }
    for (auto& month : m_daysAway)
        month.fill(-1);
    for (int offset = kDays - 1; offset >= 0; --offset) {
        const Date date = daysAfter(today, offset);
        m_daysAway[static_cast<std::size_t>(monthOf(date))][static_cast<std::size_t>(dayOf(date))] =
            static_cast<signed char>(offset);
        if (contacts::fallsOn({29, 2}, date))
            m_daysAway[2][29] = static_cast<signed char>(offset);
    }
}

void DueBirthdayCollector::addLine(std::string_view line)
{
    LineReader::Line noted;
    noted.text = line;
    for (std::size_t at = 0; noted.terminatorCount < LineReader::kNotedTerminators; ++at) {
        at = line.find(contacts::kTerminator, at);
        if (at == std::string_view::npos)
            break;
        noted.terminators[static_cast<std::size_t>(noted.terminatorCount++)] = at;
    }
    addLine(noted);
}

void DueBirthdayCollector::addLine(const LineReader::Line& line)
{
    // Field 3 follows the third terminator.
    constexpr int kBirthday = static_cast<int>(contacts::ContactField::Birthday);
    static_assert(LineReader::kNotedTerminators == kBirthday);
    if (line.terminatorCount < kBirthday)
        return;
    const std::string_view name = line.text.substr(0, line.terminators[0]);
    std::string_view rest = line.text.substr(line.terminators[2] + 1);
    std::string_view field;
    auto birthday = takeWrittenBirthday(rest);
    if (!birthday) {
        if (!takeField(rest, field))
            return;
        birthday = contacts::parseBirthday(field);
    }
    if (!birthday)
        return;
    const auto month = static_cast<std::size_t>(birthday->month);
    const auto day = static_cast<std::size_t>(birthday->day);
    const signed char offset = m_daysAway[month][day];
    if (m_missed[month][day])
        m_due.missed.emplace_back(name);
    if (offset < 0)
        return;
    for (int index = kBirthday + 1; index < kScannedFields; ++index) {
        if (!takeField(rest, field))
            return;
    }
    std::vector<std::string>* lists[kDays] = {&m_due.today, &m_due.inOneDay, &m_due.inTwoDays,
                                              &m_due.inThreeDays};
    lists[static_cast<unsigned char>(offset)]->emplace_back(name);
}

bool DueBirthdayCollector::addLines(LineReader& reader)
{
    LineReader::Line line;
    for (;;) {
        switch (reader.next(line)) {
        case LineReader::Result::Line:
            addLine(line);
            break;
        case LineReader::Result::TooLong:
            // Passed over like any line without its terminators.
            break;
        case LineReader::Result::End:
            return true;
        case LineReader::Result::Failed:
            return false;
        }
    }
}

DueBirthdays dueBirthdaysIn(std::string_view content, Date today, std::optional<Date> catchUpAfter)
{
    DueBirthdayCollector collector(today, catchUpAfter);
    contacts::forEachLine(content, [&](std::string_view line) {
        collector.addLine(line);
        return true;
    });
    return collector.takeDue();
}

} // namespace reminder
