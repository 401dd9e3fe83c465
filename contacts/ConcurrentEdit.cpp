#include "contacts/ConcurrentEdit.h"

#include "contacts/Birthday.h"

namespace contacts {
namespace {

bool sameValue(ContactField field, std::string_view a, std::string_view b)
{
    if (a == b)
        return true;
    if (field != ContactField::Birthday)
        return false;
    const auto dayA = parseBirthday(a);
    return dayA && dayA == parseBirthday(b);
}

} // namespace

MergedEdit mergeConcurrentEdit(const Contact& read, const Contact& edited, const Contact& current)
{
    Contact::Values values;
    std::vector<FieldConflict> conflicts;
    for (int i = 0; i < kFieldCount; ++i) {
        const auto field = static_cast<ContactField>(i);
        const std::string_view before = read.field(field);
        const std::string_view mine = edited.field(field);
        const std::string_view theirs = current.field(field);
        const bool changedHere = !sameValue(field, before, mine);
        const bool changedThere = !sameValue(field, before, theirs);
        values[i] = std::string(changedHere ? mine : theirs);
        if (changedHere && changedThere && !sameValue(field, mine, theirs))
            conflicts.push_back({field, std::string(theirs), std::string(mine)});
    }
    return {Contact(values), std::move(conflicts)};
}

} // namespace contacts
