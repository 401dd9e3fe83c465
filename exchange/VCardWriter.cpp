#include "exchange/VCardWriter.h"

#include "exchange/BirthDate.h"
#include "exchange/ExportedText.h"
#include "exchange/StableUid.h"

#include <optional>

namespace exchange {
namespace {

constexpr size_t kMaxLineBytes = 75;

// A text value: no control character (see ExportedText.h), and backslashes, commas and
// semicolons escaped.
std::string escapeText(std::string_view value)
{
    std::string out;
    out.reserve(value.size() + 8);
    for (char c : exportedText(value)) {
        if (c == '\\' || c == ',' || c == ';')
            out.push_back('\\');
        out.push_back(c);
    }
    return out;
}

bool isUtf8Continuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Each continuation line starts with a blank, which readers remove; no character is cut in two.
void appendFolded(std::string& out, std::string_view line)
{
    size_t room = kMaxLineBytes;
    while (line.size() > room) {
        size_t cut = room;
        while (cut > 0 && isUtf8Continuation(line[cut]))
            --cut;
        out.append(line.substr(0, cut));
        out.append("\r\n ");
        line.remove_prefix(cut);
        room = kMaxLineBytes - 1;
    }
    out.append(line);
    out.append("\r\n");
}

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
