#pragma once

#include "contacts/Windows1252.h"

#include <gtest/gtest.h>
#include <string>

// Every line of the text ends in CR LF, holds at most 75 bytes and whole UTF-8 characters.
// Returns how many lines are continuations (start with a blank).
inline int expectFoldedLines(const std::string& text)
{
    size_t start = 0;
    int folds = 0;
    for (size_t end = text.find("\r\n"); end != std::string::npos;
         start = end + 2, end = text.find("\r\n", start)) {
        const std::string_view line(text.data() + start, end - start);
        EXPECT_LE(line.size(), 75u) << line;
        EXPECT_TRUE(contacts::utf8ToWindows1252(line)) << line;
        folds += line.starts_with(' ');
    }
    EXPECT_EQ(start, text.size());
    return folds;
}
