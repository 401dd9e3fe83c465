#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

// The core keeps the contact file's Windows-1252 bytes; the windows show QString. The conversion
// happens here, at the windows' edge, and is lossless both ways for every byte.
namespace platform {

QString fromFileText(std::string_view bytes);

// Nothing when the text holds a character that the contact file cannot hold.
std::optional<std::string> toFileText(const QString& text);

} // namespace platform
