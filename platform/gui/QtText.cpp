#include "platform/gui/QtText.h"

#include "contacts/Windows1252.h"

namespace platform {

QString fromFileText(std::string_view bytes)
{
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (char c : bytes)
        *out++ = QChar(
            static_cast<char16_t>(contacts::windows1252ToCodePoint(static_cast<unsigned char>(c))));
    return text;
}

std::optional<std::string> toFileText(const QString& text)
{
    std::string bytes;
    bytes.reserve(static_cast<size_t>(text.size()));
    for (QChar c : text) {
        const auto byte = contacts::codePointToWindows1252(c.unicode());
        if (!byte)
            return std::nullopt;
        bytes.push_back(static_cast<char>(*byte));
    }
    return bytes;
}

} // namespace platform
