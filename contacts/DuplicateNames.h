#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

// A name may be stored once, compared ignoring case: the writers refuse a second record with the
// same name. Names are the file's bytes; the name of a line without any "§" is the empty text.
namespace contacts {

// What two names share when they are one name to the writers: the file's bytes lower-cased as
// Windows-1252 defines it (Á and á, Ñ and ñ), nothing else folded. Every comparison of names
// ignoring case goes through it.
std::string nameKey(std::string_view storedName);

// The add dialog's test: some stored name equals `name` when both are lower-cased.
bool isNameStored(std::span<const std::string_view> storedNames, std::string_view name);

// The modify dialog's test. While the new name equals the original one (lower-cased both), the
// names equal to it are the contact's own and are passed over; any other stored name equal to
// the new name, lower-cased, refuses it.
bool isNameTakenByAnother(std::span<const std::string_view> storedNames, std::string_view newName,
                          std::string_view originalName);

// A name that a change stores: a new contact's, or a changed one's with the name it had.
struct NewName {
    std::string_view name;
    std::optional<std::string_view> original;
};

// Both tests for several names at once, as one change stores them in order: a new name is
// taken when a stored name equals it lower-cased (a changed contact that keeps its own name
// passes over the names equal to it, as the modify dialog does), or when an earlier new name
// does. Each stored name is read once, so a change of thousands of names stays linear.
bool isAnyNameTaken(std::span<const std::string_view> storedNames,
                    std::span<const NewName> newNames);

} // namespace contacts
