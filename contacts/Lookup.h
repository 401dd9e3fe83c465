#pragma once

#include "Record.h"

#include <array>
#include <optional>
#include <string_view>
#include <vector>

// The ways the manager finds records in the file's content. All views point into `content`.
namespace contacts {

// Fields 0 to 6 of a contact: what the manager's list shows.
using ListFields = std::array<std::string_view, 7>;

struct ListedContacts {
    std::vector<ListFields> rows;
    // Field 7 of the file's first line: the note the list shows before anything is clicked.
    std::string_view firstNote;
    // False when a line without a terminator the list needs ended the loading early. That line
    // is not listed; the rows before it are.
    bool complete = true;
};

// Loads the list as the manager's start-up does: fields 0 to 6 of every line, and field 7 of
// the first line only. A line lacking one of these terminators (an empty line too) ends the
// loading.
ListedContacts listContacts(std::string_view content);

// The note lookup of a click on the list: field 7 of the first line whose name equals `name`
// exactly. Nothing when no line has the name or that line lacks the terminators up to field 7.
std::optional<std::string_view> noteOf(std::string_view content, std::string_view name);

// The add dialog's duplicate test: some line's name equals `name` when both are lower-cased.
// A line without any "§" has the empty name.
bool isNameStored(std::string_view content, std::string_view name);

// The modify dialog's duplicate test. While the new name equals the original one (lower-cased
// both), the lines bearing it are the contact's own and are passed over; any other line whose
// lower-cased name equals the new name refuses it.
bool isNameTakenByAnother(std::string_view content, std::string_view newName,
                          std::string_view originalName);

} // namespace contacts
