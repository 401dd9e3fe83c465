#pragma once

#include <string>
#include <string_view>
#include <vector>

// Test data written in UTF-8 and turned into the contact file's bytes.
std::string cp1252(std::string_view utf8);

// One record line: each field (UTF-8) followed by "§"; no line end.
std::string recordLine(const std::vector<std::string>& utf8Fields);

// Record lines joined, each followed by CR LF.
std::string fileOf(const std::vector<std::string>& lines);

// `characters` characters of UTF-8 text the contact file can hold: Spanish words, with accents,
// the euro sign and non-breaking spaces among them.
std::string longText(std::size_t characters);
