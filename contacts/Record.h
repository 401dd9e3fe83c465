#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// One contact is one line of eight fields, each FOLLOWED by the terminator "§" (byte A7 in
// Windows-1252), the last one included. There is no quoting: a value never holds a "§", a
// carriage return or a line feed. Text after the eighth terminator belongs to no field.
namespace contacts {

inline constexpr char kTerminator = '\xA7';
inline constexpr int kFieldCount = 8;

// The fields of a contact by their role, in the order a line stores them.
enum class ContactField : int { Name, Alias, Age, Birthday, Phone, Address, Email, Note };

// One value per field, reached by its position in the line or by its role.
template <typename Value> struct FieldArray : std::array<Value, kFieldCount> {
    using std::array<Value, kFieldCount>::operator[];
    Value& operator[](ContactField field) { return (*this)[static_cast<std::size_t>(field)]; }
    const Value& operator[](ContactField field) const
    {
        return (*this)[static_cast<std::size_t>(field)];
    }
};

using Fields = FieldArray<std::string>;
using FieldViews = FieldArray<std::string_view>;

// Takes the first `count` fields off the line: for each, the text before the first "§" of the
// rest. Nothing when the line lacks one of the terminators these fields need; the fields after
// `count` stay empty in the result.
std::optional<FieldViews> splitFields(std::string_view line, int count = kFieldCount);

// Field 0: the text before the line's first "§", or nothing when the line holds none.
std::optional<std::string_view> nameOf(std::string_view line);

// field 0, "§", field 1, "§", ... field 7, "§"; without the line end.
std::string buildLine(const Fields& fields);
std::string buildLine(const FieldViews& fields);

// True when the text may stand in a field: no terminator and no line break.
bool isStorableValue(std::string_view value);

// Carriage return, line feed, and Unicode's line and paragraph separators: no field holds one.
bool isLineBreak(char32_t c);

// What a field can hold, character by character, wherever the text comes from (the dialogs, an
// import): a character of Windows-1252 that is neither the terminator "§", nor a line break,
// nor a control character (U+0000 to U+001F and U+007F), which no program shows or prints as
// text and which iCalendar forbids. The tab is the one control kept: it is text, a note
// pasted from a table holds it, and both exports may write it.
bool isStorableCharacter(char32_t c);

} // namespace contacts
