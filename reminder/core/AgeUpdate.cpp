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
                   const std::unordered_set<std::string_view>& names)
        : m_programDir(programDir), m_today(today), m_names(names)
    {}

    contacts::MarkedContent build(std::string_view old,
                                  const std::vector<contacts::MarkerFile>& unmakeable)
    {
        m_unmakeable = &unmakeable;
        m_planned.clear();
        m_unsaved = false;
        contacts::MarkedContent content;
        content.bytes.reserve(old.size() + old.size() / 16);
        contacts::forEachLine(old, [&](std::string_view line) {
            appendUpdatedLine(content, line);
            return true;
        });
        return content;
    }

    std::size_t planned() const { return m_planned.size(); }
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
        std::string age;
        if (m_names.contains(updated[contacts::ContactField::Name]) &&
            contacts::fallsOn(*birthday, m_today)) {
            contacts::MarkerFile marker =
                contacts::birthdayMarker(m_today, updated[contacts::ContactField::Name],
                                         updated[contacts::ContactField::Alias]);
            if (isDue(marker)) {
                age = contacts::nextAge(updated[contacts::ContactField::Age]);
                updated[contacts::ContactField::Age] = age;
                m_planned.insert(marker.name);
                content.markers.push_back(std::move(marker));
            }
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

    // Whether the contact of this marker still waits for today's advance.
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
    const std::vector<contacts::MarkerFile>* m_unmakeable = nullptr;
    std::unordered_set<std::string> m_planned;
    bool m_unsaved = false;
};

} // namespace

AgeUpdateResult advanceAges(const std::filesystem::path& programDir, Date today,
                            const std::vector<std::string>& names,
                            const contacts::RewriteHooks& hooks)
{
    const std::unordered_set<std::string_view> listed(names.begin(), names.end());
    UpdatedContent update(programDir, today, listed);
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
            // A second start on the same day finds nothing to change: no need to write.
            if (content.bytes == old.bytes)
                return std::nullopt;
            return content;
        },
        hooks);

    const bool stored = result.rewrite.written() || result.rewrite.replaced;
    if (stored)
        result.advanced = update.planned();
    const bool nothingToStore =
        result.rewrite.outcome == contacts::RewriteResult::Outcome::Declined && fileThere;
    result.saved = (stored || nothingToStore) && !update.unsaved();
    return result;
}

} // namespace reminder
