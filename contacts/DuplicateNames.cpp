#include "DuplicateNames.h"

#include "Windows1252.h"

#include <string>

namespace contacts {
namespace {

// Whether the name, lower-cased, is `lowered`. Lower-casing keeps the length of a Windows-1252
// text, so a name of another length never matches: checking that first spares lower-casing
// almost every name of a long file.
bool lowerNameEquals(std::string_view name, std::string_view lowered, std::string& buffer)
{
    if (name.size() != lowered.size())
        return false;
    buffer = lowerWindows1252(name);
    return buffer == lowered;
}

} // namespace

bool isNameStored(std::span<const std::string_view> storedNames, std::string_view name)
{
    const std::string wanted = lowerWindows1252(name);
    std::string buffer;
    for (std::string_view stored : storedNames) {
        if (lowerNameEquals(stored, wanted, buffer))
            return true;
    }
    return false;
}

bool isNameTakenByAnother(std::span<const std::string_view> storedNames, std::string_view newName,
                          std::string_view originalName)
{
    const std::string wanted = lowerWindows1252(newName);
    const std::string original = lowerWindows1252(originalName);
    const bool unchanged = wanted == original;
    std::string buffer;
    for (std::string_view stored : storedNames) {
        if (unchanged && lowerNameEquals(stored, original, buffer))
            continue;
        if (lowerNameEquals(stored, wanted, buffer))
            return true;
    }
    return false;
}

} // namespace contacts
