#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reads the cards of a .vcf file, versions 2.1, 3.0 and 4.0 alike: lines ended by CR LF, LF or
// CR, an optional UTF-8 byte order mark (or UTF-16 with its mark, little or big endian, which is
// read as its UTF-8), folded lines (a line that starts with a blank or a tab
// continues the one before) and the soft line breaks of QUOTED-PRINTABLE values. Each property
// is kept as written, still encoded and escaped: VCardValue.h decodes the few that are used, so
// that a file full of photos costs no decoding.
//
// The file's bytes are the only copy of the text: its lines are unfolded in place, each card
// keeps its properties as one run of lines in that buffer, and a property is taken apart only
// when it is read. Empty lines and lines that hold no property are dropped. So a file costs
// about its own size, however many lines or properties it holds.
namespace exchange {

struct VCardProperty {
    std::string_view name;       // as written, without its group: "item1.TEL" is TEL
    std::string_view parameters; // as written, each after its ";": ";TYPE=cell;PREF=1"
    std::string_view value;      // unfolded; still encoded and escaped

    // Whether the property has that name (upper case), case ignored.
    bool is(std::string_view upperName) const;
    // The value of the parameter of that name (upper case), names compared case ignored, the
    // value without its quotes. A 2.1 parameter without a name is a TYPE (TEL;CELL), or the
    // ENCODING when it names one (NOTE;QUOTED-PRINTABLE); its value is then in upper case.
    std::optional<std::string> parameter(std::string_view upperName) const;
    // Whether a TYPE parameter names the type, case ignored: TYPE=cell,voice; TYPE="CELL"; CELL.
    bool hasType(std::string_view type) const;
};

// The properties of a card in the file's order, each taken apart as it is reached.
class VCardProperties {
public:
    class Iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = VCardProperty;
        using difference_type = std::ptrdiff_t;
        using pointer = const VCardProperty*;
        using reference = const VCardProperty&;

        Iterator() = default;
        explicit Iterator(std::string_view rest);
        const VCardProperty& operator*() const { return m_property; }
        const VCardProperty* operator->() const { return &m_property; }
        Iterator& operator++();
        Iterator operator++(int);
        friend bool operator==(const Iterator& a, const Iterator& b)
        {
            return a.m_rest.data() == b.m_rest.data() && a.m_rest.size() == b.m_rest.size();
        }

    private:
        void read();

        std::string_view m_rest; // the current line and those after it
        VCardProperty m_property;
    };

    explicit VCardProperties(std::string_view lines) : m_lines(lines) {}
    Iterator begin() const { return Iterator(m_lines); }
    Iterator end() const { return Iterator(m_lines.substr(m_lines.size())); }

private:
    std::string_view m_lines;
};

class VCard {
public:
    // `lines`: unfolded lines, each with a colon and followed by a line feed.
    explicit VCard(std::string_view lines) : m_lines(lines) {}

    VCardProperties properties() const { return VCardProperties(m_lines); }
    // The first property of that name (upper case), or nothing.
    std::optional<VCardProperty> first(std::string_view upperName) const;

private:
    std::string_view m_lines;
};

struct VCardFile {
    std::vector<VCard> cards; // views into `text`
    // Why the file was refused, in Spanish for the user; empty when it was read. A refused file
    // gives no card at all.
    std::string error;
    // The file's bytes, unfolded in place, that the cards read from. Shared, so that a copy of
    // the file keeps its cards valid.
    std::shared_ptr<const std::string> text;
};

// Larger files are refused before they are read, so that a wrong choice in the file dialog (a
// video, a disk image) costs nothing.
inline constexpr std::uintmax_t kMaxVCardFileBytes = std::uintmax_t{32} << 20;

// Files of more cards are refused as a whole, before a card is read: that is more than a
// personal address book holds, and each card costs a row of the preview, several hundred bytes
// however little the card holds, so that a file of a million empty cards would otherwise take
// far more memory than its size.
inline constexpr std::size_t kMaxVCardCards = 50'000;

VCardFile readVCards(std::string bytes);
VCardFile readVCardFile(const std::filesystem::path& file);

} // namespace exchange
