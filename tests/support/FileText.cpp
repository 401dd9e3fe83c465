#include "FileText.h"

#include "Lines.h"
#include "Record.h"
#include "Windows1252.h"

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
