#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string_view>

// Reads the lines of a file from a descriptor in blocks, for the start-up scan: at every logon
// it reads the whole contact file and keeps nothing of most lines, so it never holds more than
// a block (or the longest line). Lines end as contacts::forEachLine ends them: at a carriage
// return, a carriage return and line feed, or a bare line feed.
namespace reminder {

class LineReader {
public:
    static constexpr std::size_t kBlockSize = 64 * 1024;
    // The scan finds field 3 after the first three field terminators; the reader notes where
    // they stand in the same pass that finds the line's end, so that most lines, which are not
    // due, are read once.
    static constexpr int kNotedTerminators = 3;

    struct Line {
        std::string_view text;
        // Offsets in `text` of its first terminators; the first `terminatorCount` are set.
        std::array<std::size_t, kNotedTerminators> terminators{};
        int terminatorCount = 0;
    };

    // A line longer than `maxLineBytes` is passed over without being kept, so that whatever the
    // file holds (a gigabyte without a line end) the memory stays bounded.
    LineReader(int fd, std::size_t maxLineBytes, std::size_t blockSize = kBlockSize);

    enum class Result {
        Line,
        TooLong, // a line was passed over; its text is empty
        End,
        Failed,
    };

    // The text stays valid until the next call.
    Result next(Line& line);
    Result next(std::string_view& line);

    // The search for the line ends has a form for each kind of processor, chosen at the start;
    // all give the same answers. Tests pick each in turn: false when this one lacks it.
    enum class Search { Bytewise, Sse2, Avx2 };
    static bool useSearch(Search form);

private:
    bool fill();
    Result nextAfterRefill(Line& line);
    // Takes the line that ends at `lineBreak` (a CR or LF in the buffer, or the end of the
    // file) off the buffer.
    Result takeLine(std::size_t lineBreak, Line& line);

    int m_fd;
    std::size_t m_maxLineBytes;
    std::size_t m_blockSize;
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_capacity;
    std::size_t m_begin = 0; // first unread byte
    std::size_t m_end = 0;   // end of the bytes read
    bool m_eof = false;
    // The last line ended with a carriage return at the end of the bytes read: a line feed
    // coming first in the next block belongs to that line end.
    bool m_lineFeedMayFollow = false;
    // The unfinished line holds no line end before this point: a long line that spans many
    // blocks is searched once, not once per block.
    std::size_t m_noLineEndBefore = 0;
    // The current line is too long: its bytes are dropped until its end.
    bool m_skipping = false;
};

} // namespace reminder
