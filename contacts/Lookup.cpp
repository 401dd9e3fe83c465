#include "Lookup.h"

#include "Lines.h"
#include "Windows1252.h"

#include <string>

namespace contacts {
namespace {

constexpr int kListedFieldCount = 7;

// Whether the line's name, lower-cased, is `lowered`. Lower-casing keeps the length of a
// Windows-1252 text, so a name of another length never matches: checking that first spares
// lower-casing almost every line of a long file.
bool lowerNameEquals(std::string_view line, std::string_view lowered, std::string& buffer)
{
    const std::string_view name = nameOf(line).value_or(std::string_view{});
    if (name.size() != lowered.size())
        return false;
    buffer = lowerWindows1252(name);
    return buffer == lowered;
}

} // namespace

ListedContacts listContacts(std::string_view content)
{
    ListedContacts listed;
    forEachLine(content, [&](std::string_view line) {
        const bool first = listed.rows.empty();
        const auto fields = splitFields(line, first ? kFieldCount : kListedFieldCount);
        if (!fields) {
            listed.complete = false;
            return false;
        }
        ListFields row;
        for (int i = 0; i < kListedFieldCount; ++i)
            row[i] = (*fields)[i];
        listed.rows.push_back(row);
        if (first)
            listed.firstNote = (*fields)[Nota];
        return true;
    });
    return listed;
}

std::optional<std::string_view> noteOf(std::string_view content, std::string_view name)
{
    std::optional<std::string_view> note;
    forEachLine(content, [&](std::string_view line) {
        if (nameOf(line) != name)
            return true;
        if (const auto fields = splitFields(line))
            note = (*fields)[Nota];
        return false;
    });
    return note;
}

bool isNameStored(std::string_view content, std::string_view name)
{
    const std::string wanted = lowerWindows1252(name);
    std::string buffer;
    bool found = false;
    forEachLine(content, [&](std::string_view line) {
        found = lowerNameEquals(line, wanted, buffer);
        return !found;
    });
    return found;
}

bool isNameTakenByAnother(std::string_view content, std::string_view newName,
                          std::string_view originalName)
{
    const std::string wanted = lowerWindows1252(newName);
    const std::string original = lowerWindows1252(originalName);
    const bool unchanged = wanted == original;
    std::string buffer;
    bool taken = false;
    forEachLine(content, [&](std::string_view line) {
        if (unchanged && lowerNameEquals(line, original, buffer))
            return true;
        taken = lowerNameEquals(line, wanted, buffer);
        return !taken;
    });
    return taken;
}

} // namespace contacts
