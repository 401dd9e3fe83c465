#include "sync/MirroredCard.h"

#include "contacts/Birthday.h"
#include "contacts/Windows1252.h"
#include "exchange/BirthDate.h"
#include "exchange/CardImport.h"
#include "exchange/StorageProblem.h"
#include "exchange/VCardReader.h"
#include "exchange/VCardValue.h"

namespace mirror {
namespace {

using contacts::ContactField;

std::optional<int> birthYear(const exchange::VCard& card)
{
    const auto bday = card.first("BDAY");
    if (!bday)
        return std::nullopt;
    const std::optional<std::string> omitted = bday->parameter("X-APPLE-OMIT-YEAR");
    const auto birth = exchange::parseBirthDate(
        bday->value, omitted ? std::optional<std::string_view>(*omitted) : std::nullopt);
    return birth ? birth->year : std::nullopt;
}

} // namespace

CardReading readMirroredCard(std::string_view text, std::chrono::year_month_day today)
{
    CardReading reading;
    const exchange::VCardFile file = exchange::readVCards(std::string(text));
    if (file.cards.empty()) {
        reading.problem = file.error.empty() ? "La tarjeta no se puede leer." : file.error;
        return reading;
    }
    const exchange::VCard& card = file.cards.front();
    exchange::ImportedCard imported = exchange::importCard(card, today);
    reading.hasBirthday = !imported.values.birthday.empty();
    if (!reading.hasBirthday)
        return reading;

    MirroredCard mirrored;
    if (const auto uid = card.first("UID"))
        mirrored.uid = exchange::unescapeText(exchange::decodeValue(*uid).text);
    // The import's rule makes each value one the file can hold; a name left with nothing keeps
    // the card out.
    if (!imported.storable()) {
        reading.problem = exchange::describe(imported.problems.front());
        return reading;
    }
    for (exchange::Role role : exchange::kRoles) {
        if (role == ContactField::Age)
            continue;
        const std::string& value = exchange::valueOf(imported.values, role);
        const auto bytes = contacts::utf8ToWindows1252(value);
        if (!bytes) {
            reading.problem = std::string(exchange::fieldCaption(role)) + ": «" + value +
                              "» no se puede guardar en el archivo de contactos.";
            return reading;
        }
        mirrored.fields[role] = *bytes;
    }
    for (const exchange::ValueChange& change : imported.changes) {
        if (change.kind == exchange::ValueChange::Transliterated)
            mirrored.transliterated.push_back(change.original + " → " +
                                              exchange::valueOf(imported.values, change.role));
        else if (change.kind == exchange::ValueChange::LeftEmpty)
            mirrored.transliterated.push_back(change.original + " → (nada)");
    }
    if (mirrored.fields[ContactField::Name].empty()) {
        reading.problem = "La tarjeta no tiene nombre.";
        return reading;
    }
    if (const auto year = birthYear(card))
        mirrored.fields[ContactField::Age] = std::to_string(*year);
    reading.card = std::move(mirrored);
    return reading;
}

std::optional<std::string> ageFromYear(const contacts::Fields& card,
                                       std::chrono::year_month_day today)
{
    const auto year = contacts::parseSmallNumber(card[ContactField::Age]);
    const auto dayMonth = contacts::parseBirthday(card[ContactField::Birthday]);
    if (!year || !dayMonth)
        return std::nullopt;
    const auto age = exchange::ageOn({*dayMonth, *year}, today);
    return age ? std::optional(std::to_string(*age)) : std::nullopt;
}

} // namespace mirror
