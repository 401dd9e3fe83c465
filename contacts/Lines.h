#pragma once

#include <string>
#include <string_view>
#include <vector>

// Reading lines: a line ends at a carriage return, and a line feed right after it belongs to the
// same line end. A bare line feed also ends a line, for files edited with Linux editors. A last
// line without a line end is a line like the others; after the final line end no further, empty
// line is read.
namespace contacts {

// Calls visit(line) for each line in order until it returns false. The views point into
// `content`.
template <typename Visit> void forEachLine(std::string_view content, Visit&& visit)
{
    while (!content.empty()) {
        // A plain loop: find_first_of tests every byte against the set one call at a time.
        size_t end = 0;
        while (end < content.size() && content[end] != '\r' && content[end] != '\n')
            ++end;
        if (!visit(content.substr(0, end)) || end == content.size())
            return;
        size_t next = end + 1;
        if (content[end] == '\r' && next < content.size() && content[next] == '\n')
            ++next;
        content.remove_prefix(next);
    }
}

std::vector<std::string_view> splitLines(std::string_view content);

// Appends a line followed by the carriage return and line feed that every written line ends with.
void appendLine(std::string& out, std::string_view line);

} // namespace contacts
