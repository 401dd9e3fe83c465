#include "exchange/ImportMarks.h"

#include "contacts/DuplicateNames.h"
#include "contacts/Windows1252.h"

#include <optional>
#include <unordered_set>

namespace exchange {

std::optional<std::string> cardNameKey(const std::string& utf8Name)
{
    const std::optional<std::string> bytes = contacts::utf8ToWindows1252(utf8Name);
    if (!bytes)
        return std::nullopt;
    return contacts::nameKey(*bytes);
}

std::vector<ImportMark> markImport(const std::vector<ImportedCard>& cards,
                                   const std::vector<std::string_view>& storedNames)
{
    std::unordered_set<std::string> stored;
    stored.reserve(storedNames.size());
    for (std::string_view name : storedNames)
        stored.insert(contacts::nameKey(name));
    std::vector<ImportMark> marks;
    marks.reserve(cards.size());
    for (const ImportedCard& card : cards) {
        const std::optional<std::string> key = cardNameKey(card.values.name);
        if (card.values.birthday.empty())
            marks.push_back(ImportMark::NoBirthday);
        else if (key && stored.contains(*key))
            marks.push_back(ImportMark::NameStored);
        else
            marks.push_back(ImportMark::New);
    }
    return marks;
}

} // namespace exchange
