#include "LineReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace reminder {

LineReader::LineReader(int fd, std::size_t blockSize)
    : m_fd(fd), m_blockSize(blockSize), m_buffer(new char[blockSize]), m_capacity(blockSize)
{}

bool LineReader::fill()
{
    // Keep the unread bytes (the start of an unfinished line), moved to the front.
    const std::size_t kept = m_end - m_begin;
    if (m_begin > 0) {
        std::memmove(m_buffer.get(), m_buffer.get() + m_begin, kept);
        if (m_nextLineFeed != kNone && m_nextLineFeed >= m_begin) {
            m_nextLineFeed -= m_begin;
            m_lineFeedSearchedTo -= m_begin;
        } else {
            // Nothing is known about the kept bytes: search them again.
            m_nextLineFeed = kNone;
            m_lineFeedSearchedTo = 0;
        }
        m_noLineEndBefore = m_noLineEndBefore > m_begin ? m_noLineEndBefore - m_begin : 0;
        m_begin = 0;
        m_end = kept;
    }
    // A line longer than the buffer makes it grow; a read always asks for a whole block.
    if (m_capacity - m_end < m_blockSize) {
        const std::size_t capacity = std::max(m_capacity * 2, m_end + m_blockSize);
        std::unique_ptr<char[]> bigger(new char[capacity]);
        std::memcpy(bigger.get(), m_buffer.get(), m_end);
        m_buffer = std::move(bigger);
        m_capacity = capacity;
    }
    for (;;) {
        const ssize_t n = ::read(m_fd, m_buffer.get() + m_end, m_capacity - m_end);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            m_eof = true;
        m_end += static_cast<std::size_t>(n);
        return true;
    }
}

std::size_t LineReader::findLineEnd(std::size_t from)
{
    const char* data = m_buffer.get();
    if ((m_nextLineFeed != kNone && m_nextLineFeed < from) ||
        (m_nextLineFeed == kNone && m_lineFeedSearchedTo < m_end)) {
        const std::size_t start =
            m_nextLineFeed == kNone ? std::max(from, m_lineFeedSearchedTo) : from;
        const void* found = std::memchr(data + start, '\n', m_end - start);
        m_nextLineFeed =
            found ? static_cast<std::size_t>(static_cast<const char*>(found) - data) : kNone;
        m_lineFeedSearchedTo = m_end;
    }
    const std::size_t limit = m_nextLineFeed == kNone ? m_end : m_nextLineFeed;
    const void* cr = std::memchr(data + from, '\r', limit - from);
    return cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - data) : limit;
}

LineReader::Result LineReader::next(std::string_view& line)
{
    for (;;) {
        if (m_lineFeedMayFollow && m_begin < m_end) {
            if (m_buffer[m_begin] == '\n')
                ++m_begin;
            m_lineFeedMayFollow = false;
        }
        const std::size_t from = std::max(m_begin, m_noLineEndBefore);
        const std::size_t end = from < m_end ? findLineEnd(from) : m_end;
        if (end < m_end) {
            line = std::string_view(m_buffer.get() + m_begin, end - m_begin);
            m_begin = end + 1;
            if (m_buffer[end] == '\r') {
                if (m_begin < m_end) {
                    if (m_buffer[m_begin] == '\n')
                        ++m_begin;
                } else {
                    m_lineFeedMayFollow = true;
                }
            }
            return Result::Line;
        }
        m_noLineEndBefore = m_end;
        if (m_eof) {
            if (m_begin == m_end)
                return Result::End;
            // A last line without a line end.
            line = std::string_view(m_buffer.get() + m_begin, m_end - m_begin);
            m_begin = m_end;
            return Result::Line;
        }
        if (!fill())
            return Result::Failed;
    }
}

} // namespace reminder
