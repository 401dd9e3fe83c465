#include "BirthdayMarkers.h"

#include "Windows1252.h"

#include <cstdint>
#include <vector>

namespace contacts {
namespace {

// Linux file systems take at most 255 bytes in one file name.
constexpr std::size_t kMaxFileNameBytes = 255;
// Escapes look like "%2F". A plain name never holds "%", so a name with one is always encoded,
// and "%~" (which no escape produces) introduces the hash of a shortened name.
constexpr char kEscape = '%';
constexpr std::string_view kHashMark = "%~";
constexpr std::size_t kHashDigits = 16;

std::string datePrefix(std::chrono::year_month_day date)
{
    return std::to_string(static_cast<unsigned>(date.day())) +
           std::to_string(static_cast<unsigned>(date.month())) +
           std::to_string(static_cast<int>(date.year()));
}

bool needsEscape(unsigned char byte)
{
    // "/" would name a directory, NUL would end the name early, the controls are no part of a
    // name anybody types.
    return byte == '/' || byte == kEscape || byte < 0x20 || byte == 0x7F;
}

std::string escaped(unsigned char byte)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    return {kEscape, kHex[byte >> 4], kHex[byte & 0xF]};
}

// One piece per byte of the name and the alias, so that a shortened name never cuts a UTF-8
// sequence or an escape in two.
struct EncodedText {
    std::vector<std::string> pieces;
    std::size_t size = 0;
};

EncodedText encode(std::string_view name, std::string_view alias)
{
    EncodedText text;
    for (std::string_view part : {name, alias}) {
        for (char c : part) {
            const auto byte = static_cast<unsigned char>(c);
            std::string piece =
                needsEscape(byte) ? escaped(byte) : windows1252ToUtf8(std::string_view(&c, 1));
            text.size += piece.size();
            text.pieces.push_back(std::move(piece));
        }
    }
    return text;
}

std::string joined(const EncodedText& text, std::size_t maxBytes)
{
    std::string out;
    for (const auto& piece : text.pieces) {
        if (out.size() + piece.size() > maxBytes)
            break;
        out += piece;
    }
    return out;
}

// FNV-1a, 64 bits: stable across runs and builds, unlike std::hash.
std::string hashHex(std::string_view date, std::string_view name, std::string_view alias)
{
    std::uint64_t hash = 0xCBF29CE484222325ULL;
    const auto mix = [&hash](std::string_view bytes) {
        for (char c : bytes) {
            hash ^= static_cast<unsigned char>(c);
            hash *= 0x100000001B3ULL;
        }
    };
    // The lengths keep ("Ana", "Anita") and ("AnaA", "nita") apart.
    for (std::string_view part : {date, name, alias}) {
        mix(part);
        mix(std::to_string(part.size()));
        mix("/");
    }
    static constexpr char kHex[] = "0123456789abcdef";
    std::string digits(kHashDigits, '0');
    for (std::size_t i = 0; i < kHashDigits; ++i)
        digits[kHashDigits - 1 - i] = kHex[(hash >> (4 * i)) & 0xF];
    return digits;
}

} // namespace

std::string birthdayMarkerName(std::chrono::year_month_day date, std::string_view name,
                               std::string_view alias)
{
    const std::string prefix = datePrefix(date);
    const EncodedText text = encode(name, alias);
    if (prefix.size() + text.size <= kMaxFileNameBytes)
        return prefix + joined(text, text.size);
    const std::size_t room = kMaxFileNameBytes - prefix.size() - kHashMark.size() - kHashDigits;
    return prefix + joined(text, room) + std::string(kHashMark) + hashHex(prefix, name, alias);
}

std::string compactBirthdayMarkerName(std::chrono::year_month_day date, std::string_view name,
                                      std::string_view alias)
{
    const std::string prefix = datePrefix(date);
    return prefix + std::string(kHashMark) + hashHex(prefix, name, alias);
}

MarkerFile birthdayMarker(std::chrono::year_month_day date, std::string_view name,
                          std::string_view alias)
{
    return MarkerFile{birthdayMarkerName(date, name, alias),
                      compactBirthdayMarkerName(date, name, alias)};
}

} // namespace contacts
