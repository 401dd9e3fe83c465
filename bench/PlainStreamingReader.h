#pragma once

#include <cstdint>

// The yardstick of the reminder's start-up scan: the least a program must do to find the
// birthdays of a contact file. It reads the file in 64 KiB blocks, finds each line's end with
// memchr, finds field 3 after the third "§" and reads its day and month. It keeps no name,
// checks nothing else and knows no other line end than the line feed.
namespace bench {

struct PlainReading {
    std::uint64_t lines = 0;
    std::uint64_t dayMonthSum = 0; // depends on every birthday, so that none is left unread
};

// Gives nothing useful (all zero) when the file cannot be opened.
PlainReading readPlainly(const char* file);

} // namespace bench
