#include "exchange/StorageProblem.h"

#include "contacts/Record.h"
#include "contacts/Windows1252.h"
#include "exchange/AsciiText.h"
#include "exchange/CardImport.h"

#include <array>
#include <cstdio>

namespace exchange {
std::optional<StorageProblem> firstStorageProblem(Role role, std::string_view utf8)
{
    while (!utf8.empty()) {
        if (const char ascii = utf8.front(); (ascii >= 0x20 && ascii < 0x7F) || ascii == '\t') {
            utf8.remove_prefix(1); // stored as it is
            continue;
        }
        size_t length = 1;
        const std::optional<char32_t> c = contacts::decodeUtf8(utf8, length);
        const std::string character(utf8.substr(0, length));
        if (c && contacts::isLineBreak(*c))
            return StorageProblem{role, StorageProblem::LineBreak, {}};
        const auto byte = c ? contacts::codePointToWindows1252(*c) : std::nullopt;
        if (!byte)
            return StorageProblem{role, StorageProblem::OutsideWindows1252, character};
        if (static_cast<char>(*byte) == contacts::kTerminator)
            return StorageProblem{role, StorageProblem::FieldTerminator, character};
        if (!contacts::isStorableCharacter(*c)) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(*c));
            return StorageProblem{role, StorageProblem::ControlCharacter, code};
        }
        utf8.remove_prefix(length);
    }
    return std::nullopt;
}

std::string_view fieldCaption(Role role)
{
    static constexpr std::array<std::string_view, 8> kCaptions = {
        "Nombre",   "Alias",     "Edad Actual", "Fecha Del Cumple",
        "Teléfono", "Dirección", "E-Mail",      "Nota"};
    return kCaptions[static_cast<size_t>(role)];
}

namespace {

// «text» and a blank, or nothing for no text.
std::string quoted(const std::string& text)
{
    return text.empty() ? std::string() : "«" + text + "» ";
}

} // namespace

std::string describe(const StorageProblem& problem)
{
    const std::string field = std::string(fieldCaption(problem.role)) + ": ";
    switch (problem.kind) {
    case StorageProblem::NoName:
        return "La tarjeta no tiene nombre (ni FN ni N).";
    case StorageProblem::OutsideWindows1252:
        return field + "«" + problem.detail +
               "» no se puede guardar: el archivo de contactos solo admite los caracteres de "
               "Windows-1252.";
    case StorageProblem::FieldTerminator:
        return field + "«§» no se puede guardar: separa los campos del archivo de contactos.";
    case StorageProblem::LineBreak:
        return field + "tiene saltos de línea, que no se pueden guardar en este campo.";
    case StorageProblem::ControlCharacter:
        return field + "tiene un carácter de control (" + problem.detail +
               "), que no se puede guardar en el archivo de contactos.";
    case StorageProblem::NoSuchDay:
        return field + quoted(problem.detail) + "no es un día del calendario.";
    case StorageProblem::UnreadableDate:
        return field + quoted(problem.detail) + "no es una fecha que Tortavela sepa leer.";
    case StorageProblem::TooMuchToTransliterate:
        return field + "no se ha transcrito: el archivo tiene más de " +
               withThousands(kMostTransliterated) +
               " caracteres fuera de Windows-1252, y se transcriben hasta " +
               withThousands(kMostTransliterated) + " de una vez.";
    case StorageProblem::UnknownCharacterSet:
        break;
    }
    return field + "está escrito en el juego de caracteres «" + problem.detail +
           "», que Tortavela no sabe leer.";
}

} // namespace exchange
