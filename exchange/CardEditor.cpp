#include "exchange/CardEditor.h"

#include "exchange/AsciiText.h"
#include "exchange/ExportedText.h"
#include "exchange/VCardLines.h"

#include <array>
#include <functional>

namespace exchange {
namespace {

// One property as written: its physical lines, folded or soft-broken, line ends included.
struct WrittenProperty {
    std::string_view text;
    std::string_view group;      // "item1." or nothing
    std::string_view name;       // as written
    std::string_view parameters; // each after its ";"
    bool quotedPrintable = false;
};

bool isContinuation(std::string_view line)
{
    return !line.empty() && (line.front() == ' ' || line.front() == '\t');
}

std::string_view takeLine(std::string_view& rest)
{
    size_t end = rest.find_first_of("\r\n");
    if (end == std::string_view::npos)
        end = rest.size();
    else if (rest[end] == '\r' && end + 1 < rest.size() && rest[end + 1] == '\n')
        end += 2;
    else
        end += 1;
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end);
    return line;
}

std::string_view withoutLineEnd(std::string_view line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    return line;
}

// The head of the first line: group, name and parameters up to the colon outside quotes.
void readHead(WrittenProperty& property, std::string_view firstLine)
{
    bool quoted = false;
    size_t colon = std::string_view::npos;
    for (size_t i = 0; i < firstLine.size(); ++i) {
        if (firstLine[i] == '"')
            quoted = !quoted;
        else if (firstLine[i] == ':' && !quoted) {
            colon = i;
            break;
        }
    }
    std::string_view head = firstLine.substr(0, colon);
    const size_t semicolon = head.find(';');
    std::string_view name = head.substr(0, semicolon);
    if (const size_t dot = name.rfind('.'); dot != std::string_view::npos) {
        property.group = name.substr(0, dot + 1);
        name.remove_prefix(dot + 1);
    }
    property.name = name;
    property.parameters =
        semicolon == std::string_view::npos ? std::string_view() : head.substr(semicolon);
    property.quotedPrintable = containsIgnoringCase(property.parameters, "QUOTED-PRINTABLE");
}

std::vector<WrittenProperty> writtenProperties(std::string_view card)
{
    std::vector<WrittenProperty> properties;
    std::string_view rest = card;
    while (!rest.empty()) {
        const char* start = rest.data();
        const std::string_view first = takeLine(rest);
        WrittenProperty property;
        readHead(property, withoutLineEnd(first));
        bool softBreak = property.quotedPrintable && withoutLineEnd(first).ends_with('=');
        while (!rest.empty()) {
            std::string_view next = rest;
            const std::string_view line = takeLine(next);
            if (!isContinuation(line) && !softBreak)
                break;
            softBreak = property.quotedPrintable && withoutLineEnd(line).ends_with('=');
            rest = next;
        }
        property.text = std::string_view(start, static_cast<size_t>(rest.data() - start));
        properties.push_back(property);
    }
    return properties;
}

// The parameters without ENCODING and CHARSET, and without a 2.1 QUOTED-PRINTABLE named alone.
std::string plainParameters(std::string_view parameters)
{
    std::string kept;
    while (!parameters.empty()) {
        parameters.remove_prefix(1); // the ";"
        size_t end = 0;
        bool quoted = false;
        while (end < parameters.size() && (quoted || parameters[end] != ';')) {
            if (parameters[end] == '"')
                quoted = !quoted;
            ++end;
        }
        const std::string_view parameter = parameters.substr(0, end);
        parameters.remove_prefix(end);
        if (startsWithIgnoringCase(parameter, "ENCODING=") ||
            startsWithIgnoringCase(parameter, "CHARSET=") ||
            equalsIgnoringCase(parameter, "QUOTED-PRINTABLE") ||
            equalsIgnoringCase(parameter, "8BIT"))
            continue;
        kept += ';';
        kept += parameter;
    }
    return kept;
}

std::string folded(std::string_view line, std::string_view lineEnd)
{
    std::string out;
    appendFolded(out, line, lineEnd);
    return out;
}

// The value as the property's type wants it: escaped text, or as it stands for a number or a
// date.
std::string writtenValue(std::string_view upperName, const std::string& value)
{
    if (upperName == "TEL" || upperName == "BDAY")
        return exportedText(value);
    if (upperName == "N")
        return ";" + escapeText(value) + ";;;";
    if (upperName == "ADR")
        return ";;" + escapeText(value) + ";;;;";
    return escapeText(value);
}

struct Edit {
    std::string_view upperName;
    const std::optional<std::string>* value;
    // Which of the properties of that name is the contact's: the first, or the phone's rule.
    bool cellFirst = false;
    std::string newHead; // for a property that is added
};

} // namespace

bool CardChange::empty() const
{
    return !name && !alias && !birthday && !phone && !address && !email && !note;
}

std::string editCard(std::string_view card, const CardChange& change)
{
    const std::vector<WrittenProperty> properties = writtenProperties(card);
    const std::string_view lineEnd =
        card.find("\r\n") != std::string_view::npos ? std::string_view("\r\n") : "\n";
    std::array<Edit, 8> edits = {{
        {"FN", &change.name, false, "FN"},
        {"N", &change.name, false, "N"},
        {"NICKNAME", &change.alias, false, "NICKNAME"},
        {"BDAY", &change.birthday, false, "BDAY"},
        {"TEL", &change.phone, true, "TEL;TYPE=CELL"},
        {"ADR", &change.address, false, "ADR"},
        {"EMAIL", &change.email, false, "EMAIL;TYPE=INTERNET"},
        {"NOTE", &change.note, false, "NOTE"},
    }};

    // Which property each edit replaces: the index, or none when the card has none of that name.
    std::array<std::optional<size_t>, 8> target;
    for (size_t e = 0; e < edits.size(); ++e) {
        if (!*edits[e].value)
            continue;
        std::optional<size_t> first;
        for (size_t p = 0; p < properties.size(); ++p) {
            if (!equalsIgnoringCase(properties[p].name, edits[e].upperName))
                continue;
            if (!first)
                first = p;
            if (!edits[e].cellFirst)
                break;
            const std::string types = upperAscii(properties[p].parameters);
            if (types.find("CELL") != std::string::npos) {
                first = p;
                break;
            }
        }
        target[e] = first;
    }

    std::string out;
    out.reserve(card.size() + 256);
    for (size_t p = 0; p < properties.size(); ++p) {
        const WrittenProperty& property = properties[p];
        if (equalsIgnoringCase(property.name, "END")) {
            // The properties the card lacked go last, before its end.
            for (size_t e = 0; e < edits.size(); ++e) {
                const auto& value = *edits[e].value;
                if (value && !target[e] && !value->empty() && edits[e].upperName != "N")
                    out += folded(std::string(edits[e].newHead) + ":" +
                                      writtenValue(edits[e].upperName, *value),
                                  lineEnd);
            }
        }
        std::optional<size_t> edit;
        for (size_t e = 0; e < edits.size(); ++e) {
            if (target[e] == p)
                edit = e;
        }
        if (!edit) {
            out.append(property.text);
            continue;
        }
        const std::string& value = **edits[*edit].value;
        if (value.empty())
            continue;
        const std::string head = std::string(property.group) + std::string(property.name) +
                                 plainParameters(property.parameters);
        out += folded(head + ":" + writtenValue(edits[*edit].upperName, value), lineEnd);
    }
    return out;
}

} // namespace exchange
