#include "contacts/ContactSearch.h"

#include "contacts/Windows1252.h"

#include <algorithm>
#include <array>

namespace contacts {
namespace {

// The small accented letters of Windows-1252 with the letter they are searched as; ñ, æ, œ and
// the others keep their own.
constexpr std::array<std::pair<unsigned char, char>, 29> kPlainLetters = {{
    {0xE0, 'a'}, {0xE1, 'a'}, {0xE2, 'a'}, {0xE3, 'a'}, {0xE4, 'a'}, {0xE5, 'a'},
    {0xE7, 'c'}, {0xE8, 'e'}, {0xE9, 'e'}, {0xEA, 'e'}, {0xEB, 'e'}, {0xEC, 'i'},
    {0xED, 'i'}, {0xEE, 'i'}, {0xEF, 'i'}, {0xF2, 'o'}, {0xF3, 'o'}, {0xF4, 'o'},
    {0xF5, 'o'}, {0xF6, 'o'}, {0xF8, 'o'}, {0xF9, 'u'}, {0xFA, 'u'}, {0xFB, 'u'},
    {0xFC, 'u'}, {0xFD, 'y'}, {0xFF, 'y'}, {0x9A, 's'}, {0x9E, 'z'},
}};

// Every byte's search letter, looked up once per byte compared.
const std::array<char, 256>& searchLetters()
{
    static const std::array<char, 256> letters = [] {
        std::array<char, 256> table{};
        for (int byte = 0; byte < 256; ++byte)
            table[static_cast<size_t>(byte)] = lowerWindows1252(static_cast<char>(byte));
        for (char& letter : table) {
            for (const auto& [accented, plain] : kPlainLetters) {
                if (static_cast<unsigned char>(letter) == accented)
                    letter = plain;
            }
        }
        return table;
    }();
    return letters;
}

bool isBlank(char byte)
{
    return byte == ' ' || byte == '\t' || byte == '\xA0';
}

// `word` is in search letters already.
bool contains(std::string_view field, std::string_view word)
{
    const std::array<char, 256>& letters = searchLetters();
    const auto found =
        std::search(field.begin(), field.end(), word.begin(), word.end(),
                    [&letters](char fieldByte, char wordByte) {
                        return letters[static_cast<unsigned char>(fieldByte)] == wordByte;
                    });
    return found != field.end();
}

// The byte that stands for a Windows-1252 byte in a search: lower case, the accent taken off.
char searchLetter(char byte)
{
    return searchLetters()[static_cast<unsigned char>(byte)];
}

} // namespace

std::vector<std::string> searchWords(std::string_view windows1252Text)
{
    std::vector<std::string> words;
    std::string word;
    for (const char byte : windows1252Text) {
        if (isBlank(byte)) {
            if (!word.empty())
                words.push_back(std::move(word));
            word.clear();
        } else {
            word.push_back(searchLetter(byte));
        }
    }
    if (!word.empty())
        words.push_back(std::move(word));
    return words;
}

bool matchesSearch(const Contact& contact, const std::vector<std::string>& words)
{
    return std::all_of(words.begin(), words.end(), [&](const std::string& word) {
        for (int field = 0; field < kFieldCount; ++field) {
            if (contains(contact.field(static_cast<ContactField>(field)), word))
                return true;
        }
        return false;
    });
}

} // namespace contacts
