#include "platform/gui/ShownText.h"

#include "platform/gui/QtText.h"

namespace platform {

QString shownText(QStringView text, qsizetype most)
{
    if (text.size() <= most)
        return text.toString();
    qsizetype cut = most;
    if (cut > 0 && text[cut - 1].isHighSurrogate())
        --cut;
    return text.first(cut).toString() + kCutMark;
}

QString shownFileText(std::string_view bytes, qsizetype most)
{
    // One byte is one character in Windows-1252.
    const auto length = static_cast<qsizetype>(bytes.size());
    if (length <= most)
        return fromFileText(bytes);
    return fromFileText(bytes.substr(0, static_cast<std::size_t>(most))) + kCutMark;
}

QString shownUtf8Text(std::string_view utf8, qsizetype most)
{
    // Cut before the lead byte of character most + 1: continuation bytes are 10xxxxxx.
    qsizetype characters = 0;
    for (std::size_t at = 0; at < utf8.size(); ++at) {
        if ((static_cast<unsigned char>(utf8[at]) & 0xC0) == 0x80)
            continue;
        if (characters++ == most) {
            const std::string_view shown = utf8.substr(0, at);
            return QString::fromUtf8(shown.data(), static_cast<qsizetype>(shown.size())) + kCutMark;
        }
    }
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

} // namespace platform
