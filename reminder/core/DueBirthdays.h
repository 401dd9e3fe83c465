#pragma once

#include "contacts/Birthday.h"
#include "reminder/core/CalendarDate.h"
#include "reminder/core/LineReader.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the start-up scan finds: the names (Windows-1252 bytes, as stored) of the contacts whose
// birthday is today and in 1, 2 and 3 days, each list in the order of the file's lines, a name
// listed once for every matching line.
namespace reminder {

struct DueBirthdays {
    std::vector<std::string> today;
    std::vector<std::string> inOneDay;
    std::vector<std::string> inTwoDays;
    std::vector<std::string> inThreeDays;
    // Names whose birthday fell on a day the catch-up looks at: the age update decides, under
    // the lock and by the markers, which of them are advanced. Never shown as they are.
    std::vector<std::string> missed = {};

    bool anyUpcoming() const
    {
        return !inOneDay.empty() || !inTwoDays.empty() || !inThreeDays.empty();
    }
    bool anyDue() const { return !today.empty() || anyUpcoming(); }
};

// Sorts the lines of the contact file into the four lists, one line at a time. Most lines are
// due on none of the four days, and only field 3 says so: a line is split no further than that
// unless its birthday is due.
//
// A line is passed over when it lacks one of the terminators of fields 0 to 6 (an empty line
// too) or its field 3 is no day and month: one stray line must not silence every reminder.
// Birthdays count in the calendar: on 29, 30 and 31 December the first days of January are
// 3, 2 and 1 days away, and a birthday on 29 February is celebrated on 28 February in a year
// without that day (see contacts::fallsOn). With `catchUpAfter`, a birthday that fell after that
// day and before today is listed among the missed ones too.
class DueBirthdayCollector {
public:
    explicit DueBirthdayCollector(Date today, std::optional<Date> catchUpAfter = std::nullopt);

    void addLine(std::string_view line);
    // A line with its first terminators already found.
    void addLine(const LineReader::Line& line);
    // Every line the reader gives, to its end; false when reading failed.
    bool addLines(LineReader& reader);

    const DueBirthdays& due() const { return m_due; }
    DueBirthdays takeDue() { return std::move(m_due); }

private:
    static constexpr int kDays = 4; // today and the three days after it

    // How many days away each birthday (by month and day) is, -1 for none of the four days.
    // 28 February of a common year also takes 29/02.
    std::array<std::array<signed char, 32>, 13> m_daysAway;
    // Whether each birthday fell on a day of the catch-up.
    std::array<std::array<bool, 32>, 13> m_missed{};
    DueBirthdays m_due;
};

// The lists for a whole file's content.
DueBirthdays dueBirthdaysIn(std::string_view content, Date today,
                            std::optional<Date> catchUpAfter = std::nullopt);

} // namespace reminder
