#include "exchange/VCardWriter.h"

#include "exchange/BirthDate.h"
#include "exchange/ExportedText.h"
#include "exchange/StableUid.h"
#include "exchange/VCardLines.h"

#include <optional>

namespace exchange {
namespace {

void appendProperty(std::string& out, std::string_view head, std::string_view value)
{
    if (value.empty())
        return;
    std::string line(head);
    line.push_back(':');
    line.append(value);
    appendFolded(out, line);
}

std::optional<BirthDate> birthDateOf(const ContactValues& contact,
                                     std::chrono::year_month_day today)
{
    const auto dayMonth = contacts::parseBirthday(contact.birthday);
    if (!dayMonth || !contacts::isCalendarDay(*dayMonth))
        return std::nullopt;
    BirthDate birth{*dayMonth, std::nullopt};
    if (const auto age = contacts::parseSmallNumber(contact.age))
        birth.year = birthYearFor(*dayMonth, *age, today);
    return birth;
}

} // namespace

std::string writeVCards(std::span<const ContactValues> contacts, std::chrono::year_month_day today)
{
    std::string out;
    for (const ContactValues& contact : contacts) {
        out.append("BEGIN:VCARD\r\nVERSION:3.0\r\n");
        appendProperty(out, "UID", stableUid(contact.name, "contacto"));
        appendProperty(out, "FN", escapeText(contact.name));
        appendProperty(out, "N", ";" + escapeText(contact.name) + ";;;");
        appendProperty(out, "NICKNAME", escapeText(contact.alias));
        if (const auto birth = birthDateOf(contact, today))
            appendProperty(out, "BDAY", formatBirthDate(*birth));
        // A telephone number is no text value: commas there are dialling pauses.
        appendProperty(out, "TEL", exportedText(contact.phone));
        if (!contact.address.empty())
            appendProperty(out, "ADR", ";;" + escapeText(contact.address) + ";;;;");
        appendProperty(out, "EMAIL;TYPE=INTERNET", escapeText(contact.email));
        appendProperty(out, "NOTE", escapeText(contact.note));
        out.append("END:VCARD\r\n");
    }
    return out;
}

} // namespace exchange
