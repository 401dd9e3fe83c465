#include "ContactDetails.h"

#include "Birthday.h"
#include "ContactFile.h"
#include "Lines.h"
#include "Record.h"

namespace reminder {

std::optional<ContactDetails> contactDetailsIn(std::string_view content, std::string_view name)
{
    std::optional<contacts::FieldViews> last;
    contacts::forEachLine(content, [&](std::string_view line) {
        if (contacts::nameOf(line) == name) {
            if (auto fields = contacts::splitFields(line, contacts::kFieldCount))
                last = fields;
        }
        return true;
    });
    if (!last)
        return std::nullopt;
    const contacts::FieldViews& fields = *last;
    return ContactDetails{
        std::string(fields[contacts::Alias]),    contacts::leadingNumber(fields[contacts::Edad]),
        std::string(fields[contacts::Telefono]), std::string(fields[contacts::Direccion]),
        std::string(fields[contacts::Email]),    std::string(fields[contacts::Nota]),
    };
}

std::optional<ContactDetails> lookUpContactDetails(const std::filesystem::path& programDir,
                                                   std::string_view name)
{
    const contacts::FileContent content = contacts::readContactFile(programDir);
    if (!content.ok())
        return std::nullopt;
    return contactDetailsIn(content.bytes, name);
}

} // namespace reminder
