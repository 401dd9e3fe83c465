#include "contacts/BirthdayMarkers.h"

#include "contacts/Birthday.h"
#include "contacts/Windows1252.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

namespace contacts {
namespace {

// Linux file systems take at most 255 bytes in one file name.
constexpr std::size_t kMaxFileNameBytes = 255;
// "§" in UTF-8: the field terminator, which no stored name or alias holds.
constexpr std::string_view kSeparator = "\xC2\xA7";
constexpr std::size_t kDateDigits = 8;
// Escapes look like "%2F". A plain name never holds "%", so a name with one is always encoded,
// and "%~" (which no escape produces) introduces the hash of a shortened name.
constexpr char kEscape = '%';
constexpr std::string_view kHashMark = "%~";
constexpr std::size_t kHashDigits = 16;

std::string datePrefix(std::chrono::year_month_day date)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%02u%02u%04d", static_cast<unsigned>(date.day()),
                  static_cast<unsigned>(date.month()), static_cast<int>(date.year()));
    return digits;
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

    void add(std::string piece)
    {
        size += piece.size();
        pieces.push_back(std::move(piece));
    }
};

void encodeInto(EncodedText& text, std::string_view part)
{
    for (char c : part) {
        const auto byte = static_cast<unsigned char>(c);
        text.add(needsEscape(byte) ? escaped(byte) : windows1252ToUtf8(std::string_view(&c, 1)));
    }
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
std::string hashHex(std::initializer_list<std::string_view> parts)
{
    std::uint64_t hash = 0xCBF29CE484222325ULL;
    const auto mix = [&hash](std::string_view bytes) {
        for (char c : bytes) {
            hash ^= static_cast<unsigned char>(c);
            hash *= 0x100000001B3ULL;
        }
    };
    // The lengths keep ("Ana", "Anita") and ("AnaA", "nita") apart.
    for (std::string_view part : parts) {
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

std::string compactName(std::string_view prefix, std::string_view name, std::string_view alias)
{
    return std::string(prefix) + std::string(kHashMark) +
           hashHex({prefix, kSeparator, name, alias});
}

// The names of the first form: the date's plain numbers, name and alias run together.
std::vector<std::string> formerNames(std::chrono::year_month_day date, std::string_view name,
                                     std::string_view alias)
{
    const std::string prefix = std::to_string(static_cast<unsigned>(date.day())) +
                               std::to_string(static_cast<unsigned>(date.month())) +
                               std::to_string(static_cast<int>(date.year()));
    EncodedText text;
    encodeInto(text, name);
    encodeInto(text, alias);
    const std::string compact = prefix + std::string(kHashMark) + hashHex({prefix, name, alias});
    if (prefix.size() + text.size <= kMaxFileNameBytes)
        return {prefix + joined(text, text.size), compact};
    const std::size_t room = kMaxFileNameBytes - prefix.size() - kHashMark.size() - kHashDigits;
    return {prefix + joined(text, room) + std::string(kHashMark) + hashHex({prefix, name, alias}),
            compact};
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isLowerHex(char c)
{
    return isDigit(c) || (c >= 'a' && c <= 'f');
}

int twoDigits(std::string_view text)
{
    return (text[0] - '0') * 10 + (text[1] - '0');
}

} // namespace

std::string birthdayMarkerName(std::chrono::year_month_day date, std::string_view name,
                               std::string_view alias)
{
    const std::string prefix = datePrefix(date);
    EncodedText text;
    text.add(std::string(kSeparator));
    encodeInto(text, name);
    text.add(std::string(kSeparator));
    encodeInto(text, alias);
    if (prefix.size() + text.size <= kMaxFileNameBytes)
        return prefix + joined(text, text.size);
    const std::size_t room = kMaxFileNameBytes - prefix.size() - kHashMark.size() - kHashDigits;
    return prefix + joined(text, room) + std::string(kHashMark) +
           hashHex({prefix, kSeparator, name, alias});
}

std::string compactBirthdayMarkerName(std::chrono::year_month_day date, std::string_view name,
                                      std::string_view alias)
{
    return compactName(datePrefix(date), name, alias);
}

MarkerFile birthdayMarker(std::chrono::year_month_day date, std::string_view name,
                          std::string_view alias)
{
    return MarkerFile{birthdayMarkerName(date, name, alias),
                      compactBirthdayMarkerName(date, name, alias), formerNames(date, name, alias)};
}

namespace {

std::optional<std::chrono::year_month_day> dateOfDigits(int dayNumber, int monthNumber,
                                                        int yearNumber)
{
    using namespace std::chrono;
    const year_month_day date{year{yearNumber}, month{static_cast<unsigned>(monthNumber)},
                              day{static_cast<unsigned>(dayNumber)}};
    if (!date.ok())
        return std::nullopt;
    return date;
}

} // namespace

bool isBirthdayMarkerName(std::string_view fileName)
{
    if (fileName.size() > kMaxFileNameBytes || fileName.size() < kDateDigits)
        return false;
    const std::string_view date = fileName.substr(0, kDateDigits);
    if (!std::all_of(date.begin(), date.end(), isDigit))
        return false;
    using namespace std::chrono;
    const int yearNumber = twoDigits(date.substr(4)) * 100 + twoDigits(date.substr(6));
    const year_month_day when{year{yearNumber},
                              month{static_cast<unsigned>(twoDigits(date.substr(2)))},
                              day{static_cast<unsigned>(twoDigits(date))}};
    if (!when.ok())
        return false;
    const std::string_view rest = fileName.substr(kDateDigits);
    if (rest.starts_with(kHashMark)) {
        const std::string_view hash = rest.substr(kHashMark.size());
        return hash.size() == kHashDigits && std::all_of(hash.begin(), hash.end(), isLowerHex);
    }
    if (!rest.starts_with(kSeparator))
        return false;
    return std::none_of(rest.begin(), rest.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte == '/' || byte < 0x20 || byte == 0x7F;
    });
}

std::vector<std::chrono::year_month_day> birthdayMarkerDates(std::string_view fileName)
{
    if (isBirthdayMarkerName(fileName)) {
        const auto date =
            dateOfDigits(twoDigits(fileName.substr(0, 2)), twoDigits(fileName.substr(2, 2)),
                         twoDigits(fileName.substr(4, 2)) * 100 + twoDigits(fileName.substr(6, 2)));
        return {*date};
    }
    // The first form: the day and the month as plain numbers (one or two digits, never a leading
    // zero), the year in four digits, then the name (never empty) or the hash of a cut name.
    std::vector<std::chrono::year_month_day> dates;
    const auto number = [&](std::size_t at, std::size_t digits) -> std::optional<int> {
        if (at + digits > fileName.size() || fileName[at] == '0')
            return std::nullopt;
        int value = 0;
        for (std::size_t i = at; i < at + digits; ++i) {
            if (!isDigit(fileName[i]))
                return std::nullopt;
            value = value * 10 + (fileName[i] - '0');
        }
        return value;
    };
    constexpr std::size_t kYearDigits = 4;
    for (std::size_t dayDigits = 1; dayDigits <= 2; ++dayDigits) {
        for (std::size_t monthDigits = 1; monthDigits <= 2; ++monthDigits) {
            const std::size_t yearAt = dayDigits + monthDigits;
            if (yearAt + kYearDigits >= fileName.size())
                continue;
            const auto dayNumber = number(0, dayDigits);
            const auto monthNumber = number(dayDigits, monthDigits);
            const auto yearNumber = number(yearAt, kYearDigits);
            if (!dayNumber || !monthNumber || !yearNumber)
                continue;
            if (const auto date = dateOfDigits(*dayNumber, *monthNumber, *yearNumber))
                dates.push_back(*date);
        }
    }
    return dates;
}

std::vector<MarkerFile> currentAgeMarkers(std::string_view birthdayField, std::string_view name,
                                          std::string_view alias, std::chrono::year_month_day today,
                                          bool withToday)
{
    std::vector<MarkerFile> markers;
    const auto birthday = parseBirthday(birthdayField);
    if (!birthday)
        return markers;
    if (const auto last = lastBirthdayBefore(*birthday, today))
        markers.push_back(birthdayMarker(*last, name, alias));
    if (withToday && fallsOn(*birthday, today))
        markers.push_back(birthdayMarker(today, name, alias));
    return markers;
}

} // namespace contacts
