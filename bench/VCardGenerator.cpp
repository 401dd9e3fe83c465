#include "bench/VCardGenerator.h"

#include "contacts/Windows1252.h"

#include <string_view>

namespace bench {
namespace {

const char* const kGiven[] = {"Ángel", "Lucía", "María José", "Íñigo", "Begoña", "Raúl", "Núria"};
const char* const kFamily[] = {"Pérez García", "Muñoz", "Fernández", "Güell", "Ibáñez", "Soto"};
const char* const kForeignGiven[] = {"Łukasz", "Ștefan", "Jiří", "Ayşe", "Иван", "Ελένη", "李"};
const char* const kForeignFamily[] = {"Wiśniewski", "Țurcanu", "Dvořák",
                                      "Yılmaz",     "Петров",  "小龍"};

std::string twoDigits(int value)
{
    return (value < 10 ? "0" : "") + std::to_string(value);
}

} // namespace

std::string generateVCards(std::size_t count, bool foreignNames)
{
    const char* const* given = foreignNames ? kForeignGiven : kGiven;
    const char* const* family = foreignNames ? kForeignFamily : kFamily;
    std::string out;
    for (size_t i = 0; i < count; ++i) {
        const std::string number = std::to_string(i);
        const std::string name =
            std::string(given[i % 7]) + " " + family[(i / 7) % 6] + " " + number;
        const std::string monthDay =
            twoDigits(static_cast<int>(i % 12) + 1) + twoDigits(static_cast<int>(i % 28) + 1);
        if (i % 3 == 0) {
            out += "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=UTF-8:;" + name +
                   ";;;\r\nFN;CHARSET=UTF-8:" + name + "\r\nTEL;CELL:+34 600 " + number +
                   "\r\nBDAY:1970" + monthDay +
                   "\r\nNOTE;ENCODING=QUOTED-PRINTABLE;CHARSET=UTF-8:Le gusta el "
                   "f=C3=BAtbol=0D=0A=\r\ny la m=C3=BAsica\r\nEND:VCARD\r\n";
        } else {
            out += "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" + name + "\r\nN:;" + name +
                   ";;;\r\nTEL;TYPE=work:+34 91 " + number + "\r\nBDAY:" + (i % 5 ? "1985" : "--") +
                   monthDay + "\r\nEMAIL;TYPE=INTERNET:contacto" + number +
                   "@example.com\r\nADR;TYPE=home:;;Calle de la Princesa\\, " + number +
                   ";Madrid;;28008;Espa\r\n ña\r\nEND:VCARD\r\n";
        }
    }
    return out;
}

std::string inUtf16(const std::string& utf8)
{
    std::string out = "\xFF\xFE";
    std::string_view rest = utf8;
    const auto unit = [&out](char32_t value) {
        out.push_back(static_cast<char>(value & 0xFF));
        out.push_back(static_cast<char>(value >> 8));
    };
    while (!rest.empty()) {
        std::size_t length = 1;
        const char32_t c = contacts::decodeUtf8(rest, length).value_or(U'\uFFFD');
        rest.remove_prefix(length);
        if (c < 0x10000) {
            unit(c);
        } else {
            unit(0xD800 + ((c - 0x10000) >> 10));
            unit(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    return out;
}

} // namespace bench
