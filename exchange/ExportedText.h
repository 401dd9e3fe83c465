#pragma once

#include <string>
#include <string_view>

// A value as the exports write it. The contact file cannot take control characters in, but a
// value stored by an older import or typed into the file by hand may still hold one: vCard
// readers, this program's own among them, refuse a file that holds them, and iCalendar forbids
// them. Each becomes a blank, as a line break does in a note, so that the words on both sides
// stay apart. The tab, which both formats allow, stays.
namespace exchange {

std::string exportedText(std::string_view utf8);

} // namespace exchange
