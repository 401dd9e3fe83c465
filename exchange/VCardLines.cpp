#include "exchange/VCardLines.h"

#include "exchange/ExportedText.h"

namespace exchange {
namespace {

constexpr size_t kMaxLineBytes = 75;

bool isUtf8Continuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

std::string escapeText(std::string_view value)
{
    std::string out;
    out.reserve(value.size() + 8);
    for (char c : exportedText(value)) {
        if (c == '\\' || c == ',' || c == ';')
            out.push_back('\\');
        out.push_back(c);
    }
    return out;
}

void appendFolded(std::string& out, std::string_view line, std::string_view lineEnd)
{
    size_t room = kMaxLineBytes;
    while (line.size() > room) {
        size_t cut = room;
        while (cut > 0 && isUtf8Continuation(line[cut]))
            --cut;
        out.append(line.substr(0, cut));
        out.append(lineEnd);
        out.push_back(' ');
        line.remove_prefix(cut);
        room = kMaxLineBytes - 1;
    }
    out.append(line);
    out.append(lineEnd);
}

} // namespace exchange
