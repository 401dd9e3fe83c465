#include "exchange/VCardReader.h"

#include "contacts/Windows1252.h"
#include "exchange/AsciiText.h"

#include <algorithm>
#include <cstring>
#include <fstream>

namespace exchange {
namespace {

std::string tooLargeMessage()
{
    return "El archivo es demasiado grande para ser una libreta de contactos: se importan "
           "archivos de hasta " +
           std::to_string(kMaxVCardFileBytes / (std::uintmax_t{1} << 20)) + " MB.";
}

std::string tooManyCardsMessage()
{
    return "El archivo tiene más de " + withThousands(kMaxVCardCards) +
           " tarjetas de contacto: se importan hasta " + withThousands(kMaxVCardCards) +
           " de una vez.";
}

std::string notTextMessage()
{
    return "El archivo no es de texto: no puede ser una libreta de contactos vCard.";
}

std::string noCardMessage()
{
    return "El archivo no contiene ninguna tarjeta de contacto vCard (BEGIN:VCARD).";
}

std::string unfinishedCardMessage(std::size_t line)
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

// The text of a file in UTF-16 with its byte order mark, as Windows programs export it, in
// UTF-8 without the mark; nothing for any other file. A surrogate without its pair, or a last
// odd byte, becomes U+FFFD.
std::optional<std::string> fromUtf16(std::string_view bytes)
{
    const bool littleEndian = bytes.starts_with("\xFF\xFE");
    if (!littleEndian && !bytes.starts_with("\xFE\xFF"))
        return std::nullopt;
    const auto unitAt = [&](std::size_t at) {
        const auto first = static_cast<unsigned char>(bytes[at]);
        const auto second = static_cast<unsigned char>(bytes[at + 1]);
        return static_cast<char32_t>(littleEndian ? first | second << 8 : first << 8 | second);
    };
    constexpr char32_t kReplacement = 0xFFFD;
    std::string utf8;
    utf8.reserve(bytes.size() / 2);
    std::size_t at = 2;
    for (; at + 1 < bytes.size(); at += 2) {
        const char32_t unit = unitAt(at);
        if (unit >= 0xD800 && unit < 0xDC00 && at + 3 < bytes.size()) {
            const char32_t low = unitAt(at + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                contacts::appendUtf8(utf8, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                at += 2;
                continue;
            }
        }
        contacts::appendUtf8(utf8, unit >= 0xD800 && unit < 0xE000 ? kReplacement : unit);
    }
    if (at < bytes.size())
        contacts::appendUtf8(utf8, kReplacement);
    return utf8;
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

// The lines of a run of the file, one at a time, each without its end: CR LF, LF or CR.
class RawLines {
public:
    RawLines(std::string_view bytes, std::size_t from, std::size_t to)
        : m_bytes(bytes), m_at(from), m_to(to)
    {}

    // Where the next line starts.
    std::size_t position() const { return m_at; }

    // The next line and where it starts in the file; false after the last.
    bool next(std::string_view& line, std::size_t& start)
    {
        if (m_at >= m_to)
            return false;
        // find_first_of would call memchr on its set for every byte.
        const char* const begin = m_bytes.data() + m_at;
        const char* const end = m_bytes.data() + m_to;
        const char* const lineEnd =
            std::find_if(begin, end, [](char c) { return c == '\r' || c == '\n'; });
        start = m_at;
        line = std::string_view(begin, static_cast<std::size_t>(lineEnd - begin));
        m_at += line.size();
        if (m_at < m_to) {
            const bool crlf = m_bytes[m_at] == '\r' && m_at + 1 < m_to && m_bytes[m_at + 1] == '\n';
            m_at += crlf ? 2 : 1;
        }
        return true;
    }

private:
    std::string_view m_bytes;
    std::size_t m_at;
    std::size_t m_to;
};

bool isMarker(std::string_view line, std::string_view marker)
{
    return equalsIgnoringCase(trimBlanks(line), marker);
}

bool startsWithBlank(std::string_view line)
{
    return !line.empty() && (line.front() == ' ' || line.front() == '\t');
}

// Splits "a;b=\"x;y\":v" at the separators that stand outside double quotes.
size_t findOutsideQuotes(std::string_view text, char separator, size_t from = 0)
{
    bool quoted = false;
    for (size_t i = from; i < text.size(); ++i) {
        if (text[i] == '"')
            quoted = !quoted;
        else if (!quoted && text[i] == separator)
            return i;
    }
    return std::string_view::npos;
}

// Where a card's lines lie in the file: from the line after its BEGIN:VCARD to its END:VCARD.
struct CardSpan {
    std::size_t begin = 0;
    std::size_t end = 0;
    bool keepsFoldBlank = false; // a 2.1 card: see unfoldCard
};

struct Layout {
    std::vector<CardSpan> cards;
    std::string error;
};

// Finds the cards, and whether the file is whole, without keeping a single line.
Layout findCards(std::string_view bytes)
{
    Layout layout;
    RawLines lines(bytes, 0, bytes.size());
    std::string_view line;
    std::size_t start = 0;
    std::size_t number = 0;
    std::size_t firstLine = 0;
    int depth = 0; // above 1 inside a card that a 2.1 AGENT property embeds: skipped
    bool versionSeen = false;
    CardSpan card;
    while (lines.next(line, start)) {
        ++number;
        if (!startsWithBlank(line) && isMarker(line, "BEGIN:VCARD")) {
            if (++depth == 1) {
                if (layout.cards.size() == kMaxVCardCards)
                    return {{}, tooManyCardsMessage()};
                firstLine = number;
                card = {lines.position(), 0, false};
                versionSeen = false;
            }
        } else if (depth > 0 && !startsWithBlank(line) && isMarker(line, "END:VCARD")) {
            if (--depth == 0) {
                card.end = start;
                layout.cards.push_back(card);
            }
        } else if (depth == 1 && !versionSeen && startsWithIgnoringCase(line, "VERSION:")) {
            // 2.1 keeps the blank that begins a folded line (it stood between two words); 3.0
            // and 4.0 fold anywhere and drop it.
            versionSeen = true;
            card.keepsFoldBlank = trimBlanks(line.substr(8)) == "2.1";
        }
    }
    if (depth > 0)
        return {{}, unfinishedCardMessage(firstLine)};
    if (layout.cards.empty())
        return {{}, noCardMessage()};
    return layout;
}

// Unfolds the lines of one card in place, writing from `out` on: what it writes is never longer
// than what it has read, so it never overwrites a line it has yet to read. Each property ends in
// a line feed; empty lines and lines without a colon are dropped. Returns the end of what it
// wrote.
std::size_t unfoldCard(char* bytes, const CardSpan& card, std::size_t out)
{
    const std::string_view all(bytes, card.end);
    constexpr std::string_view kQuotedPrintable = "QUOTED-PRINTABLE";
    std::size_t logical = std::string_view::npos; // where the line being unfolded starts
    std::size_t colon = std::string_view::npos;   // its first colon, once there is one
    bool quotedPrintable = false; // whether its head (all of it before a colon) names it

    // The head is searched once it is whole, and before that only where it grew, so that no
    // line is searched again for each of its continuations.
    auto append = [&](std::string_view text) {
        std::memmove(bytes + out, text.data(), text.size());
        const std::string_view moved(bytes + out, text.size());
        if (colon == std::string_view::npos) {
            if (const size_t at = moved.find(':'); at != std::string_view::npos) {
                colon = out + at - logical;
                quotedPrintable = containsIgnoringCase(std::string_view(bytes + logical, colon),
                                                       kQuotedPrintable);
            } else if (!quotedPrintable) {
                const size_t from = out - std::min(out - logical, kQuotedPrintable.size() - 1);
                quotedPrintable = containsIgnoringCase(
                    std::string_view(bytes + from, out + text.size() - from), kQuotedPrintable);
            }
        }
        out += text.size();
    };
    auto flush = [&] {
        if (logical == std::string_view::npos)
            return;
        // A line without a colon holds no property.
        if (findOutsideQuotes(std::string_view(bytes + logical, out - logical), ':') ==
            std::string_view::npos) {
            out = logical;
        } else {
            bytes[out++] = '\n';
        }
        logical = std::string_view::npos;
    };
    // A QUOTED-PRINTABLE value whose line ends in "=" goes on on the next line.
    auto endsInSoftLineBreak = [&] { return quotedPrintable && bytes[out - 1] == '='; };

    RawLines lines(all, card.begin, card.end);
    std::string_view line;
    std::size_t start = 0;
    int depth = 1;
    while (lines.next(line, start)) {
        if (!startsWithBlank(line) && isMarker(line, "BEGIN:VCARD")) {
            ++depth;
            continue;
        }
        if (depth > 1) {
            if (!startsWithBlank(line) && isMarker(line, "END:VCARD"))
                --depth;
            continue;
        }
        const bool open = logical != std::string_view::npos && out > logical;
        if (open && endsInSoftLineBreak()) {
            --out;
            append(line);
        } else if (open && startsWithBlank(line)) {
            append(card.keepsFoldBlank ? line : line.substr(1));
        } else if (!line.empty()) {
            flush();
            logical = out;
            colon = std::string_view::npos;
            quotedPrintable = false;
            append(line);
        }
    }
    flush();
    return out;
}

bool isEncodingName(std::string_view name)
{
    for (std::string_view encoding : {"QUOTED-PRINTABLE", "BASE64", "8BIT", "7BIT"}) {
        if (equalsIgnoringCase(name, encoding))
            return true;
    }
    return false;
}

// One parameter as written: TYPE=cell, CHARSET="UTF-8", or 2.1's CELL without a name.
struct Parameter {
    bool named = true;
    std::string_view name;
    std::string_view value;

    bool isNamed(std::string_view upperName) const
    {
        if (named)
            return equalsIgnoringCase(name, upperName);
        return upperName == (isEncodingName(value) ? "ENCODING" : "TYPE");
    }
};

// Calls `found` with each parameter until it returns true.
template <typename Found> bool findParameter(std::string_view parameters, Found found)
{
    size_t at = findOutsideQuotes(parameters, ';');
    while (at != std::string_view::npos) {
        const size_t next = findOutsideQuotes(parameters, ';', at + 1);
        const std::string_view text = parameters.substr(at + 1, next - (at + 1));
        at = next;
        if (trimBlanks(text).empty())
            continue;
        const size_t equals = text.find('=');
        const Parameter parameter =
            equals == std::string_view::npos
                ? Parameter{false, {}, trimBlanks(text)}
                : Parameter{true, trimBlanks(text.substr(0, equals)), text.substr(equals + 1)};
        if (found(parameter))
            return true;
    }
    return false;
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

// NAME;PARAM;PARAM=VALUE:value, with an optional "group." before the name; the line has a
// colon (see unfoldCard).
VCardProperty parseProperty(std::string_view line)
{
    const size_t colon = findOutsideQuotes(line, ':');
    const std::string_view head = line.substr(0, colon);
    const size_t at = std::min(findOutsideQuotes(head, ';'), head.size());
    std::string_view name = trimBlanks(head.substr(0, at));
    if (const size_t dot = name.rfind('.'); dot != std::string_view::npos)
        name.remove_prefix(dot + 1);
    return {name, head.substr(at), line.substr(colon + 1)};
}

} // namespace

bool VCardProperty::is(std::string_view upperName) const
{
    return equalsIgnoringCase(name, upperName);
}

std::optional<std::string> VCardProperty::parameter(std::string_view upperName) const
{
    std::optional<std::string> value;
    findParameter(parameters, [&](const Parameter& parameter) {
        if (!parameter.isNamed(upperName))
            return false;
        value = parameter.named ? unquoted(parameter.value) : upperAscii(parameter.value);
        return true;
    });
    return value;
}

bool VCardProperty::hasType(std::string_view type) const
{
    return findParameter(parameters, [&](const Parameter& parameter) {
        if (!parameter.isNamed("TYPE"))
            return false;
        const std::string types = unquoted(parameter.value);
        std::string_view rest = types;
        while (true) {
            const size_t comma = rest.find(',');
            if (equalsIgnoringCase(trimBlanks(rest.substr(0, comma)), type))
                return true;
            if (comma == std::string_view::npos)
                return false;
            rest.remove_prefix(comma + 1);
        }
    });
}

VCardProperties::Iterator::Iterator(std::string_view rest) : m_rest(rest)
{
    read();
}

VCardProperties::Iterator& VCardProperties::Iterator::operator++()
{
    m_rest.remove_prefix(std::min(m_rest.find('\n') + 1, m_rest.size()));
    read();
    return *this;
}

VCardProperties::Iterator VCardProperties::Iterator::operator++(int)
{
    Iterator before = *this;
    ++*this;
    return before;
}

void VCardProperties::Iterator::read()
{
    if (!m_rest.empty())
        m_property = parseProperty(m_rest.substr(0, m_rest.find('\n')));
}

std::optional<VCardProperty> VCard::first(std::string_view upperName) const
{
    for (const VCardProperty& property : properties()) {
        if (property.is(upperName))
            return property;
    }
    return std::nullopt;
}

VCardFile readVCards(std::string bytes)
{
    if (bytes.size() > kMaxVCardFileBytes)
        return refused(tooLargeMessage());
    if (std::optional<std::string> utf8 = fromUtf16(bytes))
        bytes = std::move(*utf8);
    const std::size_t from = std::string_view(bytes).starts_with("\xEF\xBB\xBF") ? 3 : 0;
    if (looksBinary(std::string_view(bytes).substr(from)))
        return refused(notTextMessage());
    Layout layout = findCards(std::string_view(bytes).substr(from));
    if (!layout.error.empty())
        return refused(std::move(layout.error));

    auto text = std::make_shared<std::string>(std::move(bytes));
    char* const start = text->data() + from;
    VCardFile file;
    file.cards.reserve(layout.cards.size());
    std::size_t out = 0;
    for (const CardSpan& card : layout.cards) {
        const std::size_t begin = out;
        out = unfoldCard(start, card, out);
        file.cards.emplace_back(std::string_view(start + begin, out - begin));
    }
    file.text = std::move(text);
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
    return readVCards(std::move(bytes));
}

} // namespace exchange
