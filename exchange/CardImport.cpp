#include "CardImport.h"

#include "AsciiText.h"
#include "BirthDate.h"
#include "VCardValue.h"

namespace exchange {
namespace {

// The parts that hold more than blanks, as written, joined by `glue`.
std::string joinNonBlank(const std::vector<std::string>& parts, std::string_view glue)
{
    std::string joined;
    for (const std::string& part : parts) {
        if (trimBlanks(part).empty())
            continue;
        if (!joined.empty())
            joined.append(glue);
        joined.append(part);
    }
    return joined;
}

class CardReader {
public:
    CardReader(const VCard& card, ImportedCard& imported) : m_card(card), m_imported(imported) {}

    // The escaped text of the property, its character set checked against `role`.
    std::string text(const VCardProperty* property, Role role)
    {
        if (!property)
            return {};
        DecodedValue decoded = decodeValue(*property);
        if (!decoded.unknownCharset.empty())
            m_imported.problems.push_back(
                {role, StorageProblem::UnknownCharacterSet, decoded.unknownCharset});
        return std::move(decoded.text);
    }

    std::string name()
    {
        if (const VCardProperty* fn = m_card.first("FN")) {
            std::string fullName = unescapeText(text(fn, Role::Name));
            if (!trimBlanks(fullName).empty())
                return fullName;
        }
        std::vector<std::string> n = splitEscaped(text(m_card.first("N"), Role::Name), ';');
        n.resize(5); // family; given; additional; prefixes; suffixes
        return joinNonBlank({n[3], n[1], n[2], n[0], n[4]}, " ");
    }

    std::string phone()
    {
        const VCardProperty* chosen = nullptr;
        for (const VCardProperty& property : m_card.properties) {
            if (property.name != "TEL")
                continue;
            if (!chosen)
                chosen = &property;
            if (property.hasType("CELL")) {
                chosen = &property;
                break;
            }
        }
        std::string number = unescapeText(text(chosen, Role::Phone));
        if (startsWithIgnoringCase(number, "tel:"))
            number.erase(0, 4);
        return number;
    }

    std::string address()
    {
        std::vector<std::string> adr = splitEscaped(text(m_card.first("ADR"), Role::Address), ';');
        adr.resize(7); // post box; extended; street; locality; region; code; country
        const std::string place = joinNonBlank({adr[5], adr[3]}, " ");
        return joinNonBlank({adr[2], adr[1], adr[0], place, adr[4], adr[6]}, ", ");
    }

    void birthday(std::chrono::year_month_day today)
    {
        const VCardProperty* bday = m_card.first("BDAY");
        if (!bday)
            return;
        const auto birth = parseBirthDate(bday->value, bday->parameter("X-APPLE-OMIT-YEAR"));
        if (!birth)
            return;
        m_imported.values.birthday = storedBirthday(birth->dayMonth);
        if (const auto age = ageOn(*birth, today))
            m_imported.values.age = std::to_string(*age);
    }

    // Line breaks become blanks; the preview is told.
    std::string oneLine(std::string value, Role role)
    {
        std::string joined = joinLines(value);
        if (joined != value)
            m_imported.joinedLines.push_back(role);
        return joined;
    }

    std::string plain(const char* name, Role role)
    {
        return unescapeText(text(m_card.first(name), role));
    }

private:
    const VCard& m_card;
    ImportedCard& m_imported;
};

} // namespace

ImportedCard importCard(const VCard& card, std::chrono::year_month_day today)
{
    ImportedCard imported;
    CardReader reader(card, imported);
    ContactValues& values = imported.values;
    values.name = reader.name();
    values.alias = reader.plain("NICKNAME", Role::Alias);
    reader.birthday(today);
    values.phone = reader.phone();
    values.address = reader.oneLine(reader.address(), Role::Address);
    values.email = reader.plain("EMAIL", Role::Email);
    values.note = reader.oneLine(reader.plain("NOTE", Role::Note), Role::Note);

    if (trimBlanks(values.name).empty())
        imported.problems.push_back({Role::Name, StorageProblem::NoName, {}});
    for (Role role : kRoles) {
        if (auto problem = firstStorageProblem(role, valueOf(values, role)))
            imported.problems.push_back(std::move(*problem));
    }
    return imported;
}

std::vector<ImportedCard> importCards(const VCardFile& file, std::chrono::year_month_day today)
{
    std::vector<ImportedCard> imported;
    imported.reserve(file.cards.size());
    for (const VCard& card : file.cards)
        imported.push_back(importCard(card, today));
    return imported;
}

} // namespace exchange
