#include "contacts/Record.h"

#include "contacts/Windows1252.h"

namespace contacts {

std::optional<FieldViews> splitFields(std::string_view line, int count)
{
    FieldViews fields{};
    for (int i = 0; i < count; ++i) {
        const size_t at = line.find(kTerminator);
        if (at == std::string_view::npos)
            return std::nullopt;
        fields[i] = line.substr(0, at);
        line.remove_prefix(at + 1);
    }
    return fields;
}

std::optional<std::string_view> nameOf(std::string_view line)
{
    const size_t at = line.find(kTerminator);
    if (at == std::string_view::npos)
        return std::nullopt;
    return line.substr(0, at);
}

namespace {

template <typename Values> std::string joinFields(const Values& fields)
{
    size_t size = kFieldCount;
    for (const auto& field : fields)
        size += field.size();
    std::string line;
    line.reserve(size);
    for (const auto& field : fields) {
        line.append(field);
        line.push_back(kTerminator);
    }
    return line;
}

} // namespace

std::string buildLine(const Fields& fields)
{
    return joinFields(fields);
}

std::string buildLine(const FieldViews& fields)
{
    return joinFields(fields);
}

bool isStorableValue(std::string_view value)
{
    return value.find_first_of("\xA7\r\n") == std::string_view::npos;
}

bool isLineBreak(char32_t c)
{
    return c == U'\r' || c == U'\n' || c == U'\u2028' || c == U'\u2029';
}

bool isStorableCharacter(char32_t c)
{
    if ((c < 0x20 && c != U'\t') || c == 0x7F)
        return false;
    const auto byte = codePointToWindows1252(c);
    return byte && static_cast<char>(*byte) != kTerminator && !isLineBreak(c);
}

} // namespace contacts
