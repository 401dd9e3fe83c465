#include "exchange/CardImport.h"

#include "contacts/Record.h"
#include "contacts/Windows1252.h"
#include "exchange/AsciiText.h"
#include "exchange/BirthDate.h"
#include "exchange/Transliteration.h"
#include "exchange/VCardValue.h"

#include <algorithm>
#include <optional>
#include <utility>

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

// The properties a contact is taken from, found in one pass over the card, which may hold
// millions: the first of each name, and for the phone the first TEL of type CELL, else the
// first TEL.
struct ChosenProperties {
    std::optional<VCardProperty> fn, n, nickname, bday, tel, adr, email, note;

    explicit ChosenProperties(const VCard& card)
    {
        bool cell = false;
        for (const VCardProperty& property : card.properties()) {
            if (property.is("TEL")) {
                if (!cell && property.hasType("CELL")) {
                    tel = property;
                    cell = true;
                } else if (!tel) {
                    tel = property;
                }
                continue;
            }
            for (auto [name, kept] : {std::pair{"FN", &fn},
                                      {"N", &n},
                                      {"NICKNAME", &nickname},
                                      {"BDAY", &bday},
                                      {"ADR", &adr},
                                      {"EMAIL", &email},
                                      {"NOTE", &note}}) {
                if (!*kept && property.is(name)) {
                    *kept = property;
                    break;
                }
            }
        }
    }
};

// A value for the preview to quote: short plain text as written, or nothing.
std::string shownAsWritten(std::string_view value)
{
    value = trimBlanks(value);
    const bool plain = std::all_of(value.begin(), value.end(), [](char c) {
        return static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7F;
    });
    return plain && value.size() <= 40 ? std::string(value) : std::string();
}

class CardReader {
public:
    CardReader(const VCard& card, ImportedCard& imported) : m_chosen(card), m_imported(imported) {}

    // The escaped text of the property, its character set checked against `role`.
    std::string text(const std::optional<VCardProperty>& property, Role role)
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
        if (m_chosen.fn) {
            std::string fullName = unescapeText(text(m_chosen.fn, Role::Name));
            if (!trimBlanks(fullName).empty())
                return fullName;
        }
        // family; given; additional; prefixes; suffixes
        const std::vector<std::string> n = splitEscaped(text(m_chosen.n, Role::Name), ';', 5);
        return joinNonBlank({n[3], n[1], n[2], n[0], n[4]}, " ");
    }

    std::string phone()
    {
        std::string number = unescapeText(text(m_chosen.tel, Role::Phone));
        if (startsWithIgnoringCase(number, "tel:"))
            number.erase(0, 4);
        return number;
    }

    std::string address()
    {
        // post box; extended; street; locality; region; code; country
        const std::vector<std::string> adr =
            splitEscaped(text(m_chosen.adr, Role::Address), ';', 7);
        const std::string place = joinNonBlank({adr[5], adr[3]}, " ");
        return joinNonBlank({adr[2], adr[1], adr[0], place, adr[4], adr[6]}, ", ");
    }

    void birthday(std::chrono::year_month_day today)
    {
        const std::optional<VCardProperty>& bday = m_chosen.bday;
        if (!bday || trimBlanks(bday->value).empty())
            return;
        const std::optional<std::string> omittedYear = bday->parameter("X-APPLE-OMIT-YEAR");
        const std::optional<std::string_view> placeholder =
            omittedYear ? std::optional<std::string_view>(*omittedYear) : std::nullopt;
        const auto birth = parseBirthDate(bday->value, placeholder);
        if (!birth) {
            m_imported.problems.push_back({Role::Birthday,
                                           namesNoCalendarDay(bday->value, placeholder)
                                               ? StorageProblem::NoSuchDay
                                               : StorageProblem::UnreadableDate,
                                           shownAsWritten(bday->value)});
            return;
        }
        m_imported.values.birthday = storedBirthday(birth->dayMonth);
        if (const auto age = ageOn(*birth, today))
            m_imported.values.age = std::to_string(*age);
    }

    std::string plain(const std::optional<VCardProperty>& property, Role role)
    {
        return unescapeText(text(property, role));
    }

    const ChosenProperties& chosen() const { return m_chosen; }

private:
    const ChosenProperties m_chosen;
    ImportedCard& m_imported;
};

// Whether every character the value cannot keep is a line break.
bool onlyLineBreaksToChange(std::string_view utf8)
{
    while (!utf8.empty()) {
        size_t length = 1;
        const std::optional<char32_t> c = contacts::decodeUtf8(utf8, length);
        if (!c || (!contacts::isStorableCharacter(*c) && !contacts::isLineBreak(*c)))
            return false;
        utf8.remove_prefix(length);
    }
    return true;
}

// CR, LF, U+2028 or U+2029, in one pass: find_first_of would call memchr on its set for every
// byte of a long value.
bool hasLineBreak(std::string_view utf8)
{
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == '\r' || c == '\n')
            return true;
        if (c == '\xE2' && (utf8.substr(i, 3) == "\u2028" || utf8.substr(i, 3) == "\u2029"))
            return true;
    }
    return false;
}

// The characters of the value that go through ICU: those outside Windows-1252.
std::size_t charactersToTransliterate(std::string_view utf8)
{
    std::size_t count = 0;
    while (!utf8.empty()) {
        size_t length = 1;
        if (static_cast<unsigned char>(utf8.front()) >= 0x80) {
            const std::optional<char32_t> c = contacts::decodeUtf8(utf8, length);
            count +=
                c && !contacts::codePointToWindows1252(*c) && !contacts::isLineBreak(*c) ? 1 : 0;
        }
        utf8.remove_prefix(length);
    }
    return count;
}

// `budget`: what is left of kMostTransliterated.
void makeStorable(ImportedCard& card, Role role, std::size_t& budget)
{
    std::string& value = valueOf(card.values, role);
    // Most values are stored as they stand: passed over once, and not copied.
    if (!firstStorageProblem(role, value))
        return;
    const bool oneLine = role != Role::Note && role != Role::Address;
    if (hasLineBreak(value))
        card.changes.push_back({role, ValueChange::LinesJoined, {}});
    const std::size_t needed = charactersToTransliterate(value);
    if (needed > budget) {
        card.problems.push_back({role, StorageProblem::TooMuchToTransliterate, {}});
        return;
    }
    budget -= needed;
    std::optional<StorableText> storable = storableText(value, oneLine);
    if (!storable && role == Role::Name) {
        // Nothing would be left of the name: the card says which character is in the way.
        card.problems.push_back(firstStorageProblem(role, value)
                                    .value_or(StorageProblem{role, StorageProblem::NoName, {}}));
        return;
    }
    if (!storable || (storable->changed && !onlyLineBreaksToChange(value)))
        card.changes.push_back({role,
                                storable ? ValueChange::Transliterated : ValueChange::LeftEmpty,
                                joinLines(value)});
    value = storable ? std::move(storable->text) : std::string();
}

ImportedCard importCard(const VCard& card, std::chrono::year_month_day today, std::size_t& budget)
{
    ImportedCard imported;
    CardReader reader(card, imported);
    ContactValues& values = imported.values;
    values.name = reader.name();
    values.alias = reader.plain(reader.chosen().nickname, Role::Alias);
    reader.birthday(today);
    values.phone = reader.phone();
    values.address = reader.address();
    values.email = reader.plain(reader.chosen().email, Role::Email);
    values.note = reader.plain(reader.chosen().note, Role::Note);

    if (trimBlanks(values.name).empty())
        imported.problems.push_back({Role::Name, StorageProblem::NoName, {}});
    for (Role role : {Role::Name, Role::Alias, Role::Phone, Role::Address, Role::Email, Role::Note})
        makeStorable(imported, role, budget);
    return imported;
}

} // namespace

ImportedCard importCard(const VCard& card, std::chrono::year_month_day today)
{
    std::size_t budget = kMostTransliterated;
    return importCard(card, today, budget);
}

std::vector<ImportedCard> importCards(const VCardFile& file, std::chrono::year_month_day today)
{
    std::vector<ImportedCard> imported;
    imported.reserve(file.cards.size());
    std::size_t budget = kMostTransliterated;
    for (const VCard& card : file.cards)
        imported.push_back(importCard(card, today, budget));
    return imported;
}

} // namespace exchange
