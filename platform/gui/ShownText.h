#pragma once

#include <QString>
#include <QStringView>
#include <string_view>

// Where a window only shows a value (a list's row or cell, a tooltip, a box that cannot be
// edited), it shows at most a few thousand characters of it, followed by "…". A contact file
// value may run to the file's 64 MiB limit, and Qt lays out and measures a text whole, every
// time it is shown: the first characters are what fits a list or a box anyway. What is stored,
// and what a dialog edits, is always the whole value.
namespace platform {

// A list's row or cell, and its tooltip: far more than any column shows.
inline constexpr qsizetype kShownInRow = 1'000;
// A box that shows a value it does not edit: a few dozen lines of a note.
inline constexpr qsizetype kShownInBox = 10'000;

// Follows the part shown of a value that goes on.
inline constexpr QChar kCutMark = u'\u2026';

// The first `most` characters of the text, followed by kCutMark when it goes on; a character
// outside the Basic Multilingual Plane is never split.
QString shownText(QStringView text, qsizetype most);
// The same for a value of the contact file (Windows-1252): only the part shown is converted.
QString shownFileText(std::string_view bytes, qsizetype most);
// The same for UTF-8 text, counted in characters.
QString shownUtf8Text(std::string_view utf8, qsizetype most);

} // namespace platform
