#pragma once

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

    explicit LineReader(int fd, std::size_t blockSize = kBlockSize);

    enum class Result { Line, End, Failed };

    // The view stays valid until the next call.
    Result next(std::string_view& line);

private:
    bool fill();
    std::size_t findLineEnd(std::size_t from);

    int m_fd;
    std::size_t m_blockSize;
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_capacity;
    std::size_t m_begin = 0; // first unread byte
    std::size_t m_end = 0;   // end of the bytes read
    bool m_eof = false;
    // The last line ended with a carriage return at the end of the bytes read: a line feed
    // coming first in the next block belongs to that line end.
    bool m_lineFeedMayFollow = false;
    // The next line feed at or after m_lineFeedFrom, or kNone when there is none before
    // m_lineFeedSearchedTo. Kept so that a file ending its lines with bare carriage returns is
    // not searched to the end of the block once per line.
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t m_nextLineFeed = kNone;
    std::size_t m_lineFeedSearchedTo = 0;
    // The unfinished line holds no line end before this point: a long line that spans many
    // blocks is searched once, not once per block.
    std::size_t m_noLineEndBefore = 0;
};

} // namespace reminder
