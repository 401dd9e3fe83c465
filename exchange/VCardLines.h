#pragma once

#include <string>
#include <string_view>

// How a written vCard line is made, for the export and for the edits of a server's card alike.
namespace exchange {

// A text value: no control character (see ExportedText.h), and backslashes, commas and
// semicolons escaped.
std::string escapeText(std::string_view value);

// Appends `line` and `lineEnd`, folded at 75 bytes: each continuation line starts with a blank,
// which readers remove, and no UTF-8 character is cut in two.
void appendFolded(std::string& out, std::string_view line, std::string_view lineEnd = "\r\n");

} // namespace exchange
