#include "exchange/VCardValue.h"

#include "contacts/Windows1252.h"
#include "exchange/AsciiText.h"

#include <memory>
#include <optional>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>

namespace exchange {
namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    const char upper = upperAscii(c);
    if (upper >= 'A' && upper <= 'F')
        return upper - 'A' + 10;
    return -1;
}

// Soft line breaks are already gone (the reader joins the lines); an "=" that starts no valid
// escape stays as written.
std::string decodeQuotedPrintable(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '=' && i + 2 < text.size()) {
            const int high = hexDigit(text[i + 1]);
            const int low = hexDigit(text[i + 2]);
            if (high >= 0 && low >= 0) {
                out.push_back(static_cast<char>(high * 16 + low));
                i += 2;
                continue;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

bool isUtf8(std::string_view text)
{
    while (!text.empty()) {
        size_t length = 1;
        if (static_cast<unsigned char>(text.front()) >= 0x80 && !contacts::decodeUtf8(text, length))
            return false;
        text.remove_prefix(length);
    }
    return true;
}

bool isCharset(std::string_view name, std::initializer_list<std::string_view> aliases)
{
    for (std::string_view alias : aliases) {
        if (equalsIgnoringCase(name, alias))
            return true;
    }
    return false;
}

// Text in a character set that ICU converts (ISO-8859-2 and Windows-1250 of old Polish and
// Czech phones, KOI8-R, Shift_JIS...), as UTF-8; nothing for a set ICU does not know.
std::optional<std::string> fromCharset(std::string_view bytes, const std::string& charset)
{
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UConverter, decltype(&ucnv_close)> converter(
        ucnv_open(charset.c_str(), &status), ucnv_close);
    if (U_FAILURE(status))
        return std::nullopt;
    const icu::UnicodeString text(bytes.data(), static_cast<int32_t>(bytes.size()), converter.get(),
                                  status);
    if (U_FAILURE(status))
        return std::nullopt;
    std::string utf8;
    text.toUTF8String(utf8);
    return utf8;
}

} // namespace

DecodedValue decodeValue(const VCardProperty& property)
{
    DecodedValue decoded;
    const auto encoding = property.parameter("ENCODING");
    std::string bytes = encoding && equalsIgnoringCase(*encoding, "QUOTED-PRINTABLE")
                            ? decodeQuotedPrintable(property.value)
                            : std::string(property.value);
    const std::string charset = property.parameter("CHARSET").value_or("UTF-8");
    if (isCharset(charset, {"UTF-8", "US-ASCII", "ASCII"})) {
        decoded.text = isUtf8(bytes) ? std::move(bytes) : contacts::windows1252ToUtf8(bytes);
        return decoded;
    }
    // ISO-8859-1 is read as Windows-1252, which only adds printable characters to it.
    if (!isCharset(charset, {"ISO-8859-1", "LATIN1", "WINDOWS-1252", "CP1252"})) {
        if (std::optional<std::string> utf8 = fromCharset(bytes, charset)) {
            decoded.text = std::move(*utf8);
            return decoded;
        }
        decoded.unknownCharset = std::string(charset);
    }
    decoded.text = contacts::windows1252ToUtf8(bytes);
    return decoded;
}

std::string unescapeText(std::string_view escaped)
{
    std::string out;
    out.reserve(escaped.size());
    for (size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] != '\\' || i + 1 == escaped.size()) {
            out.push_back(escaped[i]);
            continue;
        }
        // As address books read them: \n and \N are a line break, and a backslash before any
        // other character gives that character (\" is a quote in Gmail's and Apple's notes).
        const char next = escaped[i + 1];
        out.push_back(next == 'n' || next == 'N' ? '\n' : next);
        ++i;
    }
    return out;
}

std::vector<std::string> splitEscaped(std::string_view escaped, char separator, size_t count)
{
    std::vector<std::string> parts;
    parts.reserve(count);
    size_t start = 0;
    for (size_t i = 0; i < escaped.size() && parts.size() < count; ++i) {
        if (escaped[i] == '\\') {
            ++i;
        } else if (escaped[i] == separator) {
            parts.push_back(unescapeText(escaped.substr(start, i - start)));
            start = i + 1;
        }
    }
    if (parts.size() < count)
        parts.push_back(unescapeText(escaped.substr(std::min(start, escaped.size()))));
    parts.resize(count);
    return parts;
}

std::string joinLines(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == '\r' || c == '\n') {
            out.push_back(' ');
            if (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n')
                ++i;
        } else if (utf8.substr(i, 3) == "\u2028" || utf8.substr(i, 3) == "\u2029") {
            out.push_back(' ');
            i += 2;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

} // namespace exchange
