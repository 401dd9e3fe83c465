#include "reminder/core/ContactDetails.h"

#include "contacts/Birthday.h"
#include "contacts/ContactFile.h"
#include "contacts/Lines.h"
#include "contacts/Record.h"

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
        std::string(fields[contacts::ContactField::Alias]),
        contacts::leadingNumber(fields[contacts::ContactField::Age]),
        std::string(fields[contacts::ContactField::Phone]),
        std::string(fields[contacts::ContactField::Address]),
        std::string(fields[contacts::ContactField::Email]),
        std::string(fields[contacts::ContactField::Note]),
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
