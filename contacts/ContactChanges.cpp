#include "ContactChanges.h"

#include "Lines.h"
#include "Record.h"

namespace contacts {

std::vector<bool> linesOfContact(const std::vector<std::string_view>& lines,
                                 const SelectedContact& contact)
{
    std::vector<bool> marks(lines.size(), false);
    bool any = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        marks[i] = lines[i] == contact.rebuiltLine;
        any = any || marks[i];
    }
    if (any)
        return marks;
    for (size_t i = 0; i < lines.size(); ++i)
        marks[i] = nameOf(lines[i]) == std::string_view(contact.name);
    return marks;
}

namespace {

// Every line but the contact's, then the new record when there is one.
ChangeResult rewriteWithout(const std::filesystem::path& programDir, TempFile temp,
                            const SelectedContact* contact, std::string_view recordLine,
                            bool appendRecordLine, const RewriteHooks& hooks)
{
    ChangeResult result;
    result.rewrite = rewriteContactFile(
        programDir, temp,
        [&](const FileContent& old) -> std::optional<std::string> {
            if (!old.ok() && !appendRecordLine)
                return std::nullopt;
            const auto lines = splitLines(old.bytes);
            std::vector<bool> dropped(lines.size(), false);
            if (contact)
                dropped = linesOfContact(lines, *contact);
            std::string content;
            content.reserve(old.bytes.size() + recordLine.size() + 2 * lines.size() + 2);
            for (size_t i = 0; i < lines.size(); ++i) {
                if (dropped[i])
                    ++result.droppedLines;
                else
                    appendLine(content, lines[i]);
            }
            if (appendRecordLine)
                appendLine(content, recordLine);
            return content;
        },
        hooks);
    return result;
}

} // namespace

ChangeResult appendRecord(const std::filesystem::path& programDir, std::string_view recordLine,
                          const RewriteHooks& hooks)
{
    return rewriteWithout(programDir, TempFile::Rewrite, nullptr, recordLine, true, hooks);
}

ChangeResult removeContact(const std::filesystem::path& programDir, const SelectedContact& contact,
                           const RewriteHooks& hooks)
{
    return rewriteWithout(programDir, TempFile::Removal, &contact, {}, false, hooks);
}

ChangeResult replaceContact(const std::filesystem::path& programDir, const SelectedContact& contact,
                            std::string_view recordLine, const RewriteHooks& hooks)
{
    return rewriteWithout(programDir, TempFile::Rewrite, &contact, recordLine, true, hooks);
}

} // namespace contacts
