#include "AgeUpdate.h"

#include "Birthday.h"
#include "ContactFile.h"
#include "Lines.h"
#include "Record.h"

#include <string_view>
#include <unistd.h>
#include <unordered_set>

namespace reminder {
namespace {

class UpdatedContent {
public:
    UpdatedContent(const std::filesystem::path& programDir, Date today,
                   const std::unordered_set<std::string_view>& names,
                   const MarkerCreationHook& markerHook)
        : m_programDir(programDir), m_today(today), m_names(names), m_markerHook(markerHook)
    {}

    std::string build(std::string_view old)
    {
        std::string out;
        out.reserve(old.size() + old.size() / 16);
        contacts::forEachLine(old, [&](std::string_view line) {
            appendUpdatedLine(out, line);
            return true;
        });
        return out;
    }

    std::size_t advanced() const { return m_createdMarkers.size(); }
    const std::vector<std::filesystem::path>& createdMarkers() const { return m_createdMarkers; }

private:
    void appendUpdatedLine(std::string& out, std::string_view line)
    {
        const auto fields = contacts::splitFields(line, contacts::kFieldCount);
        const auto birthday =
            fields ? contacts::parseBirthday((*fields)[contacts::Cumple]) : std::nullopt;
        if (!birthday || !contacts::isCalendarDay(*birthday)) {
            contacts::appendLine(out, line);
            return;
        }
        contacts::FieldViews updated = *fields;
        std::string age;
        if (m_names.contains(updated[contacts::Nombre]) &&
            claim(updated[contacts::Nombre], updated[contacts::Alias])) {
            age = contacts::nextAge(updated[contacts::Edad]);
            updated[contacts::Edad] = age;
        }
        const std::string shortBirthday = contacts::shortBirthdayText(*birthday);
        updated[contacts::Cumple] = shortBirthday;
        contacts::appendLine(out, contacts::buildLine(updated));
    }

    bool claim(std::string_view name, std::string_view alias)
    {
        const ClaimedMarker marker =
            claimBirthdayMarker(m_programDir, m_today, name, alias, m_markerHook);
        if (marker.claim != MarkerClaim::Created)
            return false;
        m_createdMarkers.push_back(marker.path);
        return true;
    }

    const std::filesystem::path& m_programDir;
    Date m_today;
    const std::unordered_set<std::string_view>& m_names;
    const MarkerCreationHook& m_markerHook;
    std::vector<std::filesystem::path> m_createdMarkers;
};

} // namespace

AgeUpdateResult advanceAges(const std::filesystem::path& programDir, Date today,
                            const std::vector<std::string>& names, const AgeUpdateHooks& hooks)
{
    const std::unordered_set<std::string_view> listed(names.begin(), names.end());
    UpdatedContent update(programDir, today, listed, hooks.markerCreation);
    std::string newContent;
    AgeUpdateResult result;
    result.rewrite = contacts::rewriteContactFile(
        programDir, contacts::TempFile::Rewrite,
        [&](const contacts::FileContent& old) -> std::optional<std::string> {
            if (!old.ok())
                return std::nullopt;
            newContent = update.build(old.bytes);
            // A second start on the same day finds nothing to change: no need to write.
            if (newContent == old.bytes)
                return std::nullopt;
            return newContent;
        },
        hooks.rewrite);

    // A rewrite can report a failure after its rename (only the directory sync is left then),
    // so the file itself tells whether the advances were stored.
    const bool stored =
        result.rewrite.written() || (!update.createdMarkers().empty() &&
                                     contacts::readContactFile(programDir).bytes == newContent);
    if (stored) {
        result.advanced = update.advanced();
    } else {
        for (const auto& marker : update.createdMarkers())
            ::unlink(marker.c_str());
    }
    return result;
}

} // namespace reminder
