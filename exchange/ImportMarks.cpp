#include "ImportMarks.h"

#include "Windows1252.h"

#include <optional>
#include <unordered_set>

namespace exchange {
namespace {

// A name that Windows-1252 cannot hold is never stored, so it has no key to compare.
std::optional<std::string> nameKey(const std::string& utf8)
{
    std::optional<std::string> bytes = contacts::utf8ToWindows1252(utf8);
    if (!bytes)
        return std::nullopt;
    return contacts::lowerWindows1252(*bytes);
}

} // namespace

std::vector<ImportMark> markImport(const std::vector<ImportedCard>& cards,
                                   const std::vector<std::string>& storedNames)
{
    std::unordered_set<std::string> stored;
    stored.reserve(storedNames.size());
    for (const std::string& name : storedNames) {
        if (auto key = nameKey(name))
            stored.insert(std::move(*key));
    }
    std::unordered_set<std::string> earlier;
    std::vector<ImportMark> marks;
    marks.reserve(cards.size());
    for (const ImportedCard& card : cards) {
        const std::optional<std::string> key = nameKey(card.values.name);
        if (card.values.birthday.empty())
            marks.push_back(ImportMark::NoBirthday);
        else if (key && stored.contains(*key))
            marks.push_back(ImportMark::NameStored);
        else if (key && !earlier.insert(*key).second)
            marks.push_back(ImportMark::RepeatedInFile);
        else
            marks.push_back(ImportMark::New);
    }
    return marks;
}

} // namespace exchange
