#include "contacts/Lines.h"

namespace contacts {

std::vector<std::string_view> splitLines(std::string_view content)
{
    std::vector<std::string_view> lines;
    forEachLine(content, [&](std::string_view line) {
        lines.push_back(line);
        return true;
    });
    return lines;
}

void appendLine(std::string& out, std::string_view line)
{
    out.append(line);
    out.append("\r\n");
}

} // namespace contacts
