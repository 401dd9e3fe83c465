#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Reads the cards of a .vcf file, versions 2.1, 3.0 and 4.0 alike: lines ended by CR LF, LF or
// CR, an optional UTF-8 byte order mark, folded lines (a line that starts with a blank or a tab
// continues the one before) and the soft line breaks of QUOTED-PRINTABLE values. Each property
// is kept as written, still encoded and escaped: VCardValue.h decodes the few that are used, so
// that a file full of photos costs no decoding.
namespace exchange {

struct VCardProperty {
    std::string name; // upper case, without its group: "item1.TEL" is TEL
    // Names upper case, values as written without their quotes. A 2.1 parameter without a name
    // is a TYPE (TEL;CELL), or the ENCODING when it names one (NOTE;QUOTED-PRINTABLE).
    std::vector<std::pair<std::string, std::string>> parameters;
    std::string value; // unfolded; still encoded and escaped

    std::optional<std::string_view> parameter(std::string_view upperName) const;
    // Whether a TYPE parameter names the type, case ignored: TYPE=cell,voice; TYPE="CELL"; CELL.
    bool hasType(std::string_view type) const;
};

struct VCard {
    std::vector<VCardProperty> properties;

    // The first property of that name (upper case), or nothing.
    const VCardProperty* first(std::string_view upperName) const;
};

struct VCardFile {
    std::vector<VCard> cards;
    // Why the file was refused, in Spanish for the user; empty when it was read. A refused file
    // gives no card at all.
    std::string error;
};

// Larger files are refused before they are read, so that a wrong choice in the file dialog (a
// video, a disk image) costs nothing.
inline constexpr std::uintmax_t kMaxVCardFileBytes = 32 * 1024 * 1024;

VCardFile readVCards(std::string_view bytes);
VCardFile readVCardFile(const std::filesystem::path& file);

} // namespace exchange
