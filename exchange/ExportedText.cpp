#include "exchange/ExportedText.h"

namespace exchange {

std::string exportedText(std::string_view utf8)
{
    std::string out(utf8);
    // In UTF-8 these are single bytes that no longer character contains.
    for (char& c : out) {
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F)
            c = ' ';
    }
    return out;
}

} // namespace exchange
