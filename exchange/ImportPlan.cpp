#include "exchange/ImportPlan.h"

#include "contacts/Birthday.h"
#include "contacts/BirthdayMarkers.h"
#include "contacts/DuplicateNames.h"
#include "exchange/ContactAdapter.h"

#include <unordered_map>
#include <unordered_set>

namespace exchange {
namespace {

// A value quoted in a remark: its first characters, and "…" when it goes on.
std::string quotedStart(std::string_view utf8)
{
    constexpr std::size_t kMostCharacters = 40;
    std::size_t end = 0;
    for (std::size_t characters = 0; end < utf8.size() && characters < kMostCharacters;
         ++characters) {
        do
            ++end;
        while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80);
    }
    return "«" + std::string(utf8.substr(0, end)) + (end < utf8.size() ? "…»" : "»");
}

// The stored contacts by name, case ignored as the add dialog ignores it (the file's bytes
// lower-cased): a name may stand on several lines of a hand-edited file.
using StoredByName = std::unordered_map<std::string, std::vector<const contacts::Contact*>>;

StoredByName storedByName(const std::vector<contacts::Contact>& stored)
{
    StoredByName byName;
    byName.reserve(stored.size());
    for (const contacts::Contact& contact : stored)
        byName[contacts::nameKey(contact.name())].push_back(&contact);
    return byName;
}

const std::vector<const contacts::Contact*>* storedWithName(const StoredByName& byName,
                                                            const std::string& utf8Name)
{
    const std::optional<std::string> key = cardNameKey(utf8Name);
    if (!key)
        return nullptr;
    const auto found = byName.find(*key);
    return found == byName.end() ? nullptr : &found->second;
}

ContactValues updatedValues(const ContactValues& card, const contacts::Contact& stored)
{
    ContactValues result = toContactValues(stored);
    for (Role role : kRoles) {
        if (role != Role::Name && !valueOf(card, role).empty())
            valueOf(result, role) = valueOf(card, role);
    }
    return result;
}

void planRow(ImportRow& row, ImportedCard card, const StoredByName& byName)
{
    row.ageFromYear = !card.values.age.empty();
    row.problems = std::move(card.problems);
    row.changes = std::move(card.changes);
    if (row.mark == ImportMark::NameStored) {
        const auto* stored = storedWithName(byName, card.values.name);
        if (!stored) {
            row.obstacle = ImportRow::Obstacle::NameOnUnreadableLine;
        } else if (stored->size() > 1) {
            row.obstacle = ImportRow::Obstacle::NameOnSeveralContacts;
        } else {
            row.updated = std::make_shared<const contacts::Contact>(*stored->front());
            row.result = updatedValues(card.values, *row.updated);
        }
    }
    if (!row.updated)
        row.result = std::move(card.values);
    // Only a stored value can hold what the file cannot take again: a line feed alone.
    if (row.choosable() && !toContact(row.result))
        row.obstacle = ImportRow::Obstacle::UnwritableValue;
}

} // namespace

bool ImportRow::choosable() const
{
    return problems.empty() && obstacle == Obstacle::None && mark != ImportMark::NoBirthday;
}

std::vector<std::string> ImportRow::reasons() const
{
    std::vector<std::string> reasons;
    for (const StorageProblem& problem : problems)
        reasons.push_back(describe(problem));
    if (mark == ImportMark::NoBirthday)
        reasons.emplace_back("No tiene fecha de cumpleaños, que es obligatoria.");
    switch (obstacle) {
    case Obstacle::None:
        break;
    case Obstacle::NameOnUnreadableLine:
        reasons.emplace_back("El nombre está en una línea ilegible del archivo de contactos: no "
                             "se puede actualizar.");
        break;
    case Obstacle::NameOnSeveralContacts:
        reasons.emplace_back("Varios contactos guardados llevan este nombre: no se sabe cuál "
                             "actualizar.");
        break;
    case Obstacle::UnwritableValue:
        reasons.emplace_back("El contacto guardado tiene caracteres que no se pueden volver a "
                             "escribir: cámbielo primero con «Modificar...».");
        break;
    }
    return reasons;
}

std::vector<std::string> ImportRow::remarks() const
{
    std::vector<std::string> remarks;
    for (const ValueChange& change : changes) {
        const std::string field = std::string(fieldCaption(change.role)) + ": ";
        switch (change.kind) {
        case ValueChange::LinesJoined:
            remarks.push_back(field + "los saltos de línea quedan como espacios.");
            break;
        case ValueChange::Transliterated:
            remarks.push_back(field + quotedStart(change.original) + " se guarda como " +
                              quotedStart(valueOf(result, change.role)) +
                              ": el archivo de contactos no admite todos sus caracteres.");
            break;
        case ValueChange::LeftEmpty:
            remarks.push_back(field + quotedStart(change.original) +
                              " no tiene nada que el archivo de contactos pueda guardar: no se "
                              "importa.");
            break;
        }
    }
    if (nameRepeated && choosable())
        remarks.emplace_back("Otra tarjeta del archivo lleva el mismo nombre: se importa solo la "
                             "que esté marcada.");
    return remarks;
}

std::vector<ImportRow> planImport(std::vector<ImportedCard> cards,
                                  const std::vector<contacts::Contact>& stored,
                                  const std::vector<std::string>& unreadableNames)
{
    std::vector<std::string_view> storedNames;
    storedNames.reserve(stored.size() + unreadableNames.size());
    for (const contacts::Contact& contact : stored)
        storedNames.push_back(contact.name());
    for (const std::string& name : unreadableNames)
        storedNames.push_back(name);
    const std::vector<ImportMark> marks = markImport(cards, storedNames);
    const StoredByName byName = storedByName(stored);

    std::unordered_map<std::string, std::uint32_t> firstOfName;
    std::vector<ImportRow> rows(cards.size());
    for (std::size_t i = 0; i < cards.size(); ++i) {
        ImportRow& row = rows[i];
        row.mark = marks[i];
        planRow(row, std::move(cards[i]), byName);
        row.firstOfName = static_cast<std::uint32_t>(i);
        if (!row.choosable())
            continue;
        // An update keeps the stored name, which has the card's key.
        std::optional<std::string> key = cardNameKey(row.result.name);
        if (!key)
            continue;
        const auto [first, isFirst] = firstOfName.try_emplace(std::move(*key), row.firstOfName);
        if (isFirst)
            continue;
        row.firstOfName = first->second;
        row.mark = ImportMark::RepeatedInFile;
        row.nameRepeated = true;
        rows[first->second].nameRepeated = true;
    }
    return rows;
}

contacts::ContactBatch importBatch(const std::vector<ImportRow>& rows,
                                   const std::vector<std::size_t>& chosen,
                                   std::chrono::year_month_day today)
{
    contacts::ContactBatch batch;
    std::unordered_set<std::uint32_t> namesTaken;
    for (std::size_t index : chosen) {
        const ImportRow& row = rows.at(index);
        if (!row.choosable() || !namesTaken.insert(row.firstOfName).second)
            continue;
        const contacts::Contact contact = *toContact(row.result);
        // An age from the year of birth counts every birthday up to today's.
        if (row.ageFromYear) {
            for (contacts::MarkerFile& marker :
                 contacts::currentAgeMarkers(contact.field(contacts::ContactField::Birthday),
                                             contact.name(), contact.alias(), today, true))
                batch.markers.push_back(std::move(marker));
        }
        if (row.updated)
            batch.replacements.push_back({*row.updated, contact});
        else
            batch.additions.push_back(contact);
    }
    return batch;
}

} // namespace exchange
