#include "reminder/core/AgeUpdate.h"

#include "contacts/Birthday.h"
#include "contacts/BirthdayMarkers.h"
#include "contacts/Lines.h"
#include "contacts/Record.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>

namespace reminder {
namespace {

// The new content for one round of the rewrite: which lines advance depends on the markers that
// exist and on those that could not be made in an earlier round.
class UpdatedContent {
public:
    UpdatedContent(const std::filesystem::path& programDir, Date today,
                   const std::unordered_set<std::string_view>& names,
                   std::optional<Date> catchUpAfter)
        : m_programDir(programDir), m_today(today), m_names(names), m_catchUpAfter(catchUpAfter)
    {}

    contacts::MarkedContent build(std::string_view old,
                                  const std::vector<contacts::MarkerFile>& unmakeable)
    {
        m_unmakeable = &unmakeable;
        m_planned.clear();
        m_caughtUp.clear();
        m_advanced = 0;
        m_unsaved = false;
        contacts::MarkedContent content;
        content.bytes.reserve(old.size() + old.size() / 16);
        contacts::forEachLine(old, [&](std::string_view line) {
            appendUpdatedLine(content, line);
            return true;
        });
        return content;
    }

    // Records whose age grows in this content.
    std::size_t advanced() const { return m_advanced; }
    const std::vector<CaughtUpBirthday>& caughtUp() const { return m_caughtUp; }
    // A contact due an advance whose marker could not be made.
    bool unsaved() const { return m_unsaved; }

private:
    void appendUpdatedLine(contacts::MarkedContent& content, std::string_view line)
    {
        const auto fields = contacts::splitFields(line, contacts::kFieldCount);
        const auto birthday =
            fields ? contacts::parseBirthday((*fields)[contacts::ContactField::Birthday])
                   : std::nullopt;
        if (!birthday || !contacts::isCalendarDay(*birthday)) {
            contacts::appendLine(content.bytes, line);
            return;
        }
        contacts::FieldViews updated = *fields;
        const std::string_view name = updated[contacts::ContactField::Name];
        const std::string_view alias = updated[contacts::ContactField::Alias];
        // The birthday this line missed, then today's: each counts once, by its own marker.
        int birthdays = 0;
        if (m_catchUpAfter) {
            if (const auto missed = birthdayBetween(*birthday, *m_catchUpAfter, m_today)) {
                if (plan(content, contacts::birthdayMarker(*missed, name, alias))) {
                    ++birthdays;
                    m_caughtUp.push_back({std::string(name), *missed});
                }
            }
        }
        if (m_names.contains(name) && contacts::fallsOn(*birthday, m_today) &&
            plan(content, contacts::birthdayMarker(m_today, name, alias)))
            ++birthdays;
        std::string age(updated[contacts::ContactField::Age]);
        // An unknown age stays unknown: no birthday gives it a number.
        if (birthdays > 0 && contacts::hasLeadingNumber(age)) {
            for (int i = 0; i < birthdays; ++i)
                age = contacts::nextAge(age);
            updated[contacts::ContactField::Age] = age;
            ++m_advanced;
        }
        const std::string shortBirthday = contacts::shortBirthdayText(*birthday);
        updated[contacts::ContactField::Birthday] = shortBirthday;
        // Whatever follows the eighth terminator stays, byte for byte.
        const std::string_view& note = (*fields)[contacts::ContactField::Note];
        const std::string_view rest =
            line.substr(static_cast<std::size_t>(note.data() + note.size() + 1 - line.data()));
        content.bytes += contacts::buildLine(updated);
        contacts::appendLine(content.bytes, rest);
    }

    // Plans the marker when the birthday it stands for still waits to be counted.
    bool plan(contacts::MarkedContent& content, contacts::MarkerFile marker)
    {
        if (!isDue(marker))
            return false;
        m_planned.insert(marker.name);
        content.markers.push_back(std::move(marker));
        return true;
    }

    // Whether the contact of this marker still waits for the advance of that birthday.
    bool isDue(const contacts::MarkerFile& marker)
    {
        if (m_planned.contains(marker.name) || contacts::markerFileExists(m_programDir, marker))
            return false;
        if (std::ranges::find(*m_unmakeable, marker) != m_unmakeable->end()) {
            m_unsaved = true;
            return false;
        }
        return true;
    }

    const std::filesystem::path& m_programDir;
    Date m_today;
    const std::unordered_set<std::string_view>& m_names;
    std::optional<Date> m_catchUpAfter;
    const std::vector<contacts::MarkerFile>* m_unmakeable = nullptr;
    std::unordered_set<std::string> m_planned;
    std::vector<CaughtUpBirthday> m_caughtUp;
    std::size_t m_advanced = 0;
    bool m_unsaved = false;
};

} // namespace

AgeUpdateResult advanceAges(const std::filesystem::path& programDir, Date today,
                            const std::vector<std::string>& names,
                            const contacts::RewriteHooks& hooks)
{
    return updateAges(programDir, today, names, std::nullopt, hooks);
}

AgeUpdateResult updateAges(const std::filesystem::path& programDir, Date today,
                           const std::vector<std::string>& names, std::optional<Date> catchUpAfter,
                           const contacts::RewriteHooks& hooks)
{
    const std::unordered_set<std::string_view> listed(names.begin(), names.end());
    UpdatedContent update(programDir, today, listed, catchUpAfter);
    bool fileThere = false;
    AgeUpdateResult result;
    result.rewrite = contacts::rewriteContactFileWithMarkers(
        programDir, contacts::TempFile::Rewrite,
        [&](const contacts::FileContent& old, const std::vector<contacts::MarkerFile>& unmakeable)
            -> std::optional<contacts::MarkedContent> {
            fileThere = old.ok();
            if (!old.ok())
                return std::nullopt;
            contacts::MarkedContent content = update.build(old.bytes, unmakeable);
            // A second start on the same day finds nothing to change: no need to write. Nor
            // does a catch-up that found every birthday counted: a day with nothing missed
            // leaves the file as it is.
            if (content.markers.empty() && (content.bytes == old.bytes || names.empty()))
                return std::nullopt;
            return content;
        },
        hooks);

    const bool stored = result.rewrite.written() || result.rewrite.replaced;
    if (stored) {
        result.advanced = update.advanced();
        result.caughtUp = update.caughtUp();
    }
    const bool nothingToStore =
        result.rewrite.outcome == contacts::RewriteResult::Outcome::Declined && fileThere;
    result.saved = (stored || nothingToStore) && !update.unsaved();
    return result;
}

AgeUpdateResult bringAgesUpToDate(const std::filesystem::path& programDir, Date today,
                                  const AgeDays& days, const std::vector<std::string>& names,
                                  const contacts::RewriteHooks& hooks)
{
    if (!days.agesMayChange) {
        AgeUpdateResult untouched;
        untouched.rewrite.outcome = contacts::RewriteResult::Outcome::Declined;
        untouched.saved = true;
        return untouched;
    }
    AgeUpdateResult result = updateAges(programDir, today, names, days.catchUpAfter, hooks);
    if (result.saved)
        recordAgesUpToDate(programDir, today);
    return result;
}

} // namespace reminder
