#pragma once

#include <string>
#include <string_view>

// vCard names, parameters and markers are ASCII and their case does not matter.
namespace exchange {

char upperAscii(char c);
std::string upperAscii(std::string_view text);
bool equalsIgnoringCase(std::string_view a, std::string_view b);
bool startsWithIgnoringCase(std::string_view text, std::string_view prefix);
bool containsIgnoringCase(std::string_view text, std::string_view part);

// 100000 as Spanish writes it: 100.000.
std::string withThousands(std::size_t number);

// Without the blanks and tabs around it.
std::string_view trimBlanks(std::string_view text);

} // namespace exchange
