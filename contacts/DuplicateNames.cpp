#include "contacts/DuplicateNames.h"

#include "contacts/Windows1252.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace contacts {

std::string nameKey(std::string_view storedName)
{
    return lowerWindows1252(storedName);
}

bool isNameStored(std::span<const std::string_view> storedNames, std::string_view name)
{
    const NewName newName{name, std::nullopt};
    return isAnyNameTaken(storedNames, std::span(&newName, 1));
}

bool isNameTakenByAnother(std::span<const std::string_view> storedNames, std::string_view newName,
                          std::string_view originalName)
{
    const NewName changed{newName, originalName};
    return isAnyNameTaken(storedNames, std::span(&changed, 1));
}

bool isAnyNameTaken(std::span<const std::string_view> storedNames,
                    std::span<const NewName> newNames)
{
    // Lower-casing keeps the length: only stored names of a new name's length are compared.
    std::vector<bool> lengths;
    std::unordered_map<std::string, bool> keepsOwnName; // by the new name lower-cased
    keepsOwnName.reserve(newNames.size());
    for (const NewName& newName : newNames) {
        std::string lowered = nameKey(newName.name);
        const bool keepsOwn = newName.original && nameKey(*newName.original) == lowered;
        if (!keepsOwnName.emplace(std::move(lowered), keepsOwn).second)
            return true;
        if (lengths.size() <= newName.name.size())
            lengths.resize(newName.name.size() + 1);
        lengths[newName.name.size()] = true;
    }
    std::string buffer;
    for (std::string_view stored : storedNames) {
        if (stored.size() >= lengths.size() || !lengths[stored.size()])
            continue;
        buffer = nameKey(stored);
        if (const auto found = keepsOwnName.find(buffer);
            found != keepsOwnName.end() && !found->second)
            return true;
    }
    return false;
}

} // namespace contacts
