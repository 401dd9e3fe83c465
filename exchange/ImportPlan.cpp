#include "ImportPlan.h"

#include "Birthday.h"
#include "BirthdayMarkers.h"
#include "ContactAdapter.h"
#include "Windows1252.h"

#include <unordered_map>
#include <unordered_set>

namespace exchange {
namespace {

constexpr const char* kRepeatedInFile = "Una tarjeta anterior del archivo lleva el mismo nombre.";

// The stored contacts by name, case ignored as the add dialog ignores it (the file's bytes
// lower-cased): a name may stand on several lines of a hand-edited file.
using StoredByName = std::unordered_map<std::string, std::vector<const contacts::Contact*>>;

StoredByName storedByName(const std::vector<contacts::Contact>& stored)
{
    StoredByName byName;
    byName.reserve(stored.size());
    for (const contacts::Contact& contact : stored)
        byName[contacts::lowerWindows1252(contact.name())].push_back(&contact);
    return byName;
}

const std::vector<const contacts::Contact*>* storedWithName(const StoredByName& byName,
                                                            const std::string& utf8Name)
{
    const std::optional<std::string> bytes = contacts::utf8ToWindows1252(utf8Name);
    if (!bytes)
        return nullptr;
    const auto found = byName.find(contacts::lowerWindows1252(*bytes));
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

std::string joinedLinesRemark(Role role)
{
    return std::string(fieldCaption(role)) + ": los saltos de línea quedan como espacios.";
}

// `updating`: the names of the stored contacts that earlier rows update.
void planRow(ImportRow& row, const StoredByName& byName, std::unordered_set<std::string>& updating)
{
    for (const StorageProblem& problem : row.card.problems)
        row.reasons.push_back(describe(problem));
    for (Role role : row.card.joinedLines)
        row.remarks.push_back(joinedLinesRemark(role));
    row.result = row.card.values;

    switch (row.mark) {
    case ImportMark::New:
        break;
    case ImportMark::NoBirthday:
        row.reasons.emplace_back("No tiene fecha de cumpleaños, que es obligatoria.");
        break;
    case ImportMark::RepeatedInFile:
        row.reasons.emplace_back(kRepeatedInFile);
        break;
    case ImportMark::NameStored: {
        const auto* stored = storedWithName(byName, row.card.values.name);
        if (!stored) {
            row.reasons.emplace_back("El nombre está en una línea ilegible del archivo de "
                                     "contactos: no se puede actualizar.");
        } else if (stored->size() > 1) {
            row.reasons.emplace_back("Varios contactos guardados llevan este nombre: no se sabe "
                                     "cuál actualizar.");
        } else if (!updating.insert(contacts::lowerWindows1252(stored->front()->name())).second) {
            row.reasons.emplace_back(kRepeatedInFile);
        } else {
            row.updated = *stored->front();
            row.result = updatedValues(row.card.values, *row.updated);
        }
        break;
    }
    }
    if (!row.reasons.empty())
        return;
    row.contact = toContact(row.result);
    // Only a stored value can hold what the file cannot take again: a line feed alone.
    if (!row.contact)
        row.reasons.emplace_back("El contacto guardado tiene caracteres que no se pueden "
                                 "volver a escribir: cámbielo primero con «Modificar...».");
}

// Whether the stored age already counts today's birthday: it was computed today from the
// card's year of birth, and the birthday is today.
bool ageCountsTodaysBirthday(const ImportRow& row, std::chrono::year_month_day today)
{
    if (row.card.values.age.empty())
        return false;
    const auto birthday = contacts::parseBirthday(row.result.birthday);
    return birthday && contacts::fallsOn(*birthday, today);
}

} // namespace

std::vector<ImportRow> planImport(std::vector<ImportedCard> cards,
                                  const std::vector<contacts::Contact>& stored,
                                  const std::vector<std::string>& unreadableNames)
{
    std::vector<std::string> storedNames;
    storedNames.reserve(stored.size() + unreadableNames.size());
    for (const contacts::Contact& contact : stored)
        storedNames.push_back(contacts::windows1252ToUtf8(contact.name()));
    for (const std::string& name : unreadableNames)
        storedNames.push_back(contacts::windows1252ToUtf8(name));
    const std::vector<ImportMark> marks = markImport(cards, storedNames);
    const StoredByName byName = storedByName(stored);

    std::unordered_set<std::string> updating;
    std::vector<ImportRow> rows(cards.size());
    for (std::size_t i = 0; i < cards.size(); ++i) {
        rows[i].card = std::move(cards[i]);
        rows[i].mark = marks[i];
        planRow(rows[i], byName, updating);
    }
    return rows;
}

contacts::ContactBatch importBatch(const std::vector<ImportRow>& rows,
                                   const std::vector<std::size_t>& chosen,
                                   std::chrono::year_month_day today)
{
    contacts::ContactBatch batch;
    for (std::size_t index : chosen) {
        const ImportRow& row = rows.at(index);
        if (!row.contact)
            continue;
        const contacts::Contact& contact = *row.contact;
        if (ageCountsTodaysBirthday(row, today))
            batch.markers.push_back(
                contacts::birthdayMarker(today, contact.name(), contact.alias()));
        if (row.updated)
            batch.replacements.push_back({*row.updated, contact});
        else
            batch.additions.push_back(contact);
    }
    return batch;
}

} // namespace exchange
