#include "bench/VCardGenerator.h"

namespace bench {
namespace {

const char* const kGiven[] = {"Ángel", "Lucía", "María José", "Íñigo", "Begoña", "Raúl", "Núria"};
const char* const kFamily[] = {"Pérez García", "Muñoz", "Fernández", "Güell", "Ibáñez", "Soto"};

std::string twoDigits(int value)
{
    return (value < 10 ? "0" : "") + std::to_string(value);
}

} // namespace

std::string generateVCards(std::size_t count)
{
    std::string out;
    for (size_t i = 0; i < count; ++i) {
        const std::string number = std::to_string(i);
        const std::string name =
            std::string(kGiven[i % 7]) + " " + kFamily[(i / 7) % 6] + " " + number;
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

} // namespace bench
