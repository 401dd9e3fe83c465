#include "tests/support/FileText.h"

#include "contacts/Lines.h"
#include "contacts/Record.h"
#include "contacts/Windows1252.h"

#include <iterator>
#include <stdexcept>

std::string cp1252(std::string_view utf8)
{
    auto bytes = contacts::utf8ToWindows1252(utf8);
    if (!bytes)
        throw std::invalid_argument("test text outside Windows-1252");
    return *bytes;
}

std::string recordLine(const std::vector<std::string>& utf8Fields)
{
    std::string line;
    for (const auto& field : utf8Fields) {
        line += cp1252(field);
        line.push_back(contacts::kTerminator);
    }
    return line;
}

std::string fileOf(const std::vector<std::string>& lines)
{
    std::string content;
    for (const auto& line : lines)
        contacts::appendLine(content, line);
    return content;
}

std::string longText(std::size_t characters)
{
    static const std::string_view kWords[] = {"cumpleaños ", "fiesta\u00a0", "regalo ", "50€ ",
                                              "Ñandú "};
    std::string text;
    std::size_t count = 0;
    for (std::size_t i = 0; count < characters; ++i) {
        const std::string_view word = kWords[i % std::size(kWords)];
        for (std::size_t at = 0; at < word.size() && count < characters; ++count) {
            // A character is its lead byte and the continuation bytes (10xxxxxx) after it.
            std::size_t length = 1;
            while (at + length < word.size() && (word[at + length] & 0xC0) == 0x80)
                ++length;
            text.append(word.substr(at, length));
            at += length;
        }
    }
    return text;
}
