#include "VCardReader.h"

#include "AsciiText.h"

#include <algorithm>
#include <fstream>

namespace exchange {
namespace {

struct RawLine {
    std::string_view text;
    int number = 0;
};

std::string tooLargeMessage()
{
    return "El archivo es demasiado grande para ser una libreta de contactos: se importan "
           "archivos de hasta " +
           std::to_string(kMaxVCardFileBytes / (1024 * 1024)) + " MB.";
}

std::string notTextMessage()
{
    return "El archivo no es de texto: no puede ser una libreta de contactos vCard.";
}

std::string noCardMessage()
{
    return "El archivo no contiene ninguna tarjeta de contacto vCard (BEGIN:VCARD).";
}

std::string unfinishedCardMessage(int line)
{
    return "La tarjeta de contacto que empieza en la línea " + std::to_string(line) +
           " no termina: le falta END:VCARD.";
}

VCardFile refused(std::string message)
{
    VCardFile file;
    file.error = std::move(message);
    return file;
}

// Control characters that no text file of contacts holds: binary data, or text in UTF-16.
// Tabs, line ends, form feeds and the end-of-file mark of old DOS exports are text.
bool looksBinary(std::string_view bytes)
{
    return std::any_of(bytes.begin(), bytes.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f' && b != 0x1A;
    });
}

std::vector<RawLine> splitRawLines(std::string_view bytes)
{
    std::vector<RawLine> lines;
    lines.reserve(bytes.size() / 24);
    int number = 1;
    while (!bytes.empty()) {
        // find_first_of would call memchr on its set for every byte.
        const auto lineEnd =
            std::find_if(bytes.begin(), bytes.end(), [](char c) { return c == '\r' || c == '\n'; });
        const auto end = static_cast<size_t>(lineEnd - bytes.begin());
        lines.push_back({bytes.substr(0, end), number++});
        if (end == bytes.size())
            break;
        const bool crlf = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
        bytes.remove_prefix(end + (crlf ? 2 : 1));
    }
    return lines;
}

bool isMarker(std::string_view line, std::string_view marker)
{
    return equalsIgnoringCase(trimBlanks(line), marker);
}

bool startsWithBlank(std::string_view line)
{
    return !line.empty() && (line.front() == ' ' || line.front() == '\t');
}

// The part of a logical line before its value: the name and the parameters.
std::string_view headOf(std::string_view line)
{
    return line.substr(0, std::min(line.find(':'), line.size()));
}

bool endsInSoftLineBreak(const std::string& line)
{
    return !line.empty() && line.back() == '=' &&
           containsIgnoringCase(headOf(line), "QUOTED-PRINTABLE");
}

// Splits "a;b=\"x;y\":v" at the separators that stand outside double quotes.
size_t findOutsideQuotes(std::string_view text, std::string_view separators, size_t from = 0)
{
    bool quoted = false;
    for (size_t i = from; i < text.size(); ++i) {
        if (text[i] == '"')
            quoted = !quoted;
        else if (!quoted && separators.find(text[i]) != std::string_view::npos)
            return i;
    }
    return std::string_view::npos;
}

std::string unquoted(std::string_view value)
{
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        if (c != '"')
            out.push_back(c);
    }
    return out;
}

bool isEncodingName(std::string_view upper)
{
    return upper == "QUOTED-PRINTABLE" || upper == "BASE64" || upper == "8BIT" || upper == "7BIT";
}

std::pair<std::string, std::string> parseParameter(std::string_view text)
{
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        std::string upper = upperAscii(trimBlanks(text));
        return {isEncodingName(upper) ? "ENCODING" : "TYPE", std::move(upper)};
    }
    return {upperAscii(trimBlanks(text.substr(0, equals))), unquoted(text.substr(equals + 1))};
}

// NAME;PARAM;PARAM=VALUE:value, with an optional "group." before the name. Nothing for a line
// without a colon, which no card can hold.
std::optional<VCardProperty> parseProperty(std::string_view line)
{
    const size_t colon = findOutsideQuotes(line, ":");
    if (colon == std::string_view::npos)
        return std::nullopt;
    const std::string_view head = line.substr(0, colon);
    size_t at = findOutsideQuotes(head, ";");
    std::string_view name = trimBlanks(head.substr(0, at));
    if (const size_t dot = name.rfind('.'); dot != std::string_view::npos)
        name.remove_prefix(dot + 1);

    VCardProperty property;
    property.name = upperAscii(name);
    while (at != std::string_view::npos) {
        const size_t next = findOutsideQuotes(head, ";", at + 1);
        const std::string_view text = head.substr(at + 1, next - (at + 1));
        if (!trimBlanks(text).empty())
            property.parameters.push_back(parseParameter(text));
        at = next;
    }
    property.value = std::string(line.substr(colon + 1));
    return property;
}

// 2.1 keeps the blank that begins a folded line (it stood between two words); 3.0 and 4.0
// fold anywhere and drop it.
VCard parseCard(const std::vector<RawLine>& lines)
{
    VCard card;
    bool keepsFoldBlank = false;
    for (const RawLine& line : lines) {
        if (startsWithIgnoringCase(line.text, "VERSION:")) {
            keepsFoldBlank = trimBlanks(line.text.substr(8)) == "2.1";
            break;
        }
    }

    std::string logical;
    auto flush = [&] {
        if (auto property = parseProperty(logical))
            card.properties.push_back(std::move(*property));
        logical.clear();
    };
    for (const RawLine& line : lines) {
        if (!logical.empty() && endsInSoftLineBreak(logical)) {
            logical.pop_back();
            logical.append(line.text);
        } else if (!logical.empty() && startsWithBlank(line.text)) {
            logical.append(keepsFoldBlank ? line.text : line.text.substr(1));
        } else if (!line.text.empty()) {
            flush();
            logical = line.text;
        }
    }
    flush();
    return card;
}

} // namespace

std::optional<std::string_view> VCardProperty::parameter(std::string_view upperName) const
{
    for (const auto& [name, value] : parameters) {
        if (name == upperName)
            return value;
    }
    return std::nullopt;
}

bool VCardProperty::hasType(std::string_view type) const
{
    for (const auto& [name, value] : parameters) {
        if (name != "TYPE")
            continue;
        std::string_view rest = value;
        while (true) {
            const size_t comma = rest.find(',');
            if (equalsIgnoringCase(trimBlanks(rest.substr(0, comma)), type))
                return true;
            if (comma == std::string_view::npos)
                break;
            rest.remove_prefix(comma + 1);
        }
    }
    return false;
}

const VCardProperty* VCard::first(std::string_view upperName) const
{
    for (const VCardProperty& property : properties) {
        if (property.name == upperName)
            return &property;
    }
    return nullptr;
}

VCardFile readVCards(std::string_view bytes)
{
    if (bytes.size() > kMaxVCardFileBytes)
        return refused(tooLargeMessage());
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    if (looksBinary(bytes))
        return refused(notTextMessage());

    VCardFile file;
    const std::vector<RawLine> lines = splitRawLines(bytes);
    std::vector<RawLine> cardLines;
    int depth = 0; // above 1 inside a card that a 2.1 AGENT property embeds: skipped
    int firstLine = 0;
    for (const RawLine& line : lines) {
        if (!startsWithBlank(line.text) && isMarker(line.text, "BEGIN:VCARD")) {
            if (++depth == 1) {
                firstLine = line.number;
                cardLines.clear();
            }
        } else if (depth > 0 && !startsWithBlank(line.text) && isMarker(line.text, "END:VCARD")) {
            if (--depth == 0)
                file.cards.push_back(parseCard(cardLines));
        } else if (depth == 1) {
            cardLines.push_back(line);
        }
    }
    if (depth > 0)
        return refused(unfinishedCardMessage(firstLine));
    if (file.cards.empty())
        return refused(noCardMessage());
    return file;
}

VCardFile readVCardFile(const std::filesystem::path& path)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error)
        return refused("No se puede leer el archivo.");
    if (size > kMaxVCardFileBytes)
        return refused(tooLargeMessage());
    std::ifstream in(path, std::ios::binary);
    std::string bytes(static_cast<size_t>(size), '\0');
    if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size())))
        return refused("No se puede leer el archivo.");
    return readVCards(bytes);
}

} // namespace exchange
