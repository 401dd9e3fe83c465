#include "reminder/core/LineReader.h"

#include "contacts/Record.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>
#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace reminder {
namespace {

bool isLineBreak(char c)
{
    return c == '\r' || c == '\n';
}

// The scan is mostly the search for the end of each line and its first terminators: one pass,
// a vector of bytes a step, finds both. A search for each byte would read the start of every
// line four times.

// `terminators` and `breaks` are bit masks of a vector that begins `offset` bytes into the line.
void noteTerminators(unsigned terminators, unsigned breaks, std::size_t offset,
                     LineReader::Line& line)
{
    // Only those before the line break.
    if (breaks != 0)
        terminators &= (breaks & -breaks) - 1;
    for (; terminators != 0 && line.terminatorCount < LineReader::kNotedTerminators;
         terminators &= terminators - 1)
        line.terminators[static_cast<std::size_t>(line.terminatorCount++)] =
            offset + static_cast<std::size_t>(__builtin_ctz(terminators));
}

// The search of findLineBreak from `at` on, a byte a step.
const char* findLineBreakBytewise(const char* from, const char* at, const char* end,
                                  LineReader::Line& line)
{
    for (; at < end && !isLineBreak(*at); ++at) {
        if (*at == contacts::kTerminator && line.terminatorCount < LineReader::kNotedTerminators)
            line.terminators[static_cast<std::size_t>(line.terminatorCount++)] =
                static_cast<std::size_t>(at - from);
    }
    return at;
}

#if defined(__x86_64__)
const char* findLineBreakSse2(const char* from, const char* at, const char* end,
                              LineReader::Line& line)
{
    const __m128i carriageReturn = _mm_set1_epi8('\r');
    const __m128i lineFeed = _mm_set1_epi8('\n');
    const __m128i terminator = _mm_set1_epi8(contacts::kTerminator);
    for (; end - at >= 16; at += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        const auto breaks = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_or_si128(_mm_cmpeq_epi8(bytes, carriageReturn), _mm_cmpeq_epi8(bytes, lineFeed))));
        if (line.terminatorCount < LineReader::kNotedTerminators)
            noteTerminators(
                static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, terminator))), breaks,
                static_cast<std::size_t>(at - from), line);
        if (breaks != 0)
            return at + __builtin_ctz(breaks);
    }
    return findLineBreakBytewise(from, at, end, line);
}

// The same, 32 bytes a step: a contact's line is read in two or three steps instead of five.
__attribute__((target("avx2"))) const char*
findLineBreakAvx2(const char* from, const char* at, const char* end, LineReader::Line& line)
{
    const __m256i carriageReturn = _mm256_set1_epi8('\r');
    const __m256i lineFeed = _mm256_set1_epi8('\n');
    const __m256i terminator = _mm256_set1_epi8(contacts::kTerminator);
    for (; end - at >= 32; at += 32) {
        const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
        const auto breaks = static_cast<unsigned>(_mm256_movemask_epi8(_mm256_or_si256(
            _mm256_cmpeq_epi8(bytes, carriageReturn), _mm256_cmpeq_epi8(bytes, lineFeed))));
        if (line.terminatorCount < LineReader::kNotedTerminators)
            noteTerminators(
                static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(bytes, terminator))),
                breaks, static_cast<std::size_t>(at - from), line);
        if (breaks != 0)
            return at + __builtin_ctz(breaks);
    }
    return findLineBreakSse2(from, at, end, line);
}
#endif

// The first carriage return or line feed in [at, end), or `end`; on the way, the first
// terminators go into `line`, as offsets from `from`, the start of the line.
using LineBreakSearch = const char* (*)(const char* from, const char* at, const char* end,
                                        LineReader::Line& line);

bool hasAvx2()
{
#if defined(__x86_64__)
    // Called while the program's statics are set up, before the CPU's features are known.
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

LineBreakSearch searchFor(LineReader::Search form)
{
#if defined(__x86_64__)
    if (form == LineReader::Search::Avx2)
        return findLineBreakAvx2;
    if (form == LineReader::Search::Sse2)
        return findLineBreakSse2;
#endif
    (void)form;
    return findLineBreakBytewise;
}

LineBreakSearch searchLineBreak =
    searchFor(hasAvx2() ? LineReader::Search::Avx2 : LineReader::Search::Sse2);

const char* findLineBreak(const char* from, const char* end, LineReader::Line& line)
{
    return searchLineBreak(from, from, end, line);
}

} // namespace

bool LineReader::useSearch(Search form)
{
#if defined(__x86_64__)
    const bool available = form != Search::Avx2 || hasAvx2();
#else
    const bool available = form == Search::Bytewise;
#endif
    if (available)
        searchLineBreak = searchFor(form);
    return available;
}

LineReader::LineReader(int fd, std::size_t maxLineBytes, std::size_t blockSize)
    : m_fd(fd), m_maxLineBytes(maxLineBytes), m_blockSize(blockSize), m_buffer(new char[blockSize]),
      m_capacity(blockSize)
{}

bool LineReader::fill()
{
    // Keep the unread bytes (the start of an unfinished line), moved to the front.
    const std::size_t kept = m_end - m_begin;
    if (m_begin > 0) {
        std::memmove(m_buffer.get(), m_buffer.get() + m_begin, kept);
        m_noLineEndBefore = m_noLineEndBefore > m_begin ? m_noLineEndBefore - m_begin : 0;
        m_begin = 0;
        m_end = kept;
    }
    // A line longer than the buffer makes it grow, up to the longest line kept; a read always
    // asks for a whole block.
    if (m_capacity - m_end < m_blockSize) {
        const std::size_t capacity =
            std::max(std::min(m_capacity * 2, m_maxLineBytes + m_blockSize), m_end + m_blockSize);
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

LineReader::Result LineReader::takeLine(std::size_t lineBreak, Line& line)
{
    line.text = std::string_view(m_buffer.get() + m_begin, lineBreak - m_begin);
    // At the end of the file there is no line break to pass.
    m_begin = std::min(lineBreak + 1, m_end);
    if (lineBreak < m_end && m_buffer[lineBreak] == '\r') {
        if (m_begin < m_end) {
            if (m_buffer[m_begin] == '\n')
                ++m_begin;
        } else {
            m_lineFeedMayFollow = true;
        }
    }
    if (!m_skipping && line.text.size() <= m_maxLineBytes)
        return Result::Line;
    m_skipping = false;
    line = {};
    return Result::TooLong;
}

LineReader::Result LineReader::next(Line& line)
{
    // Most lines end within the bytes read already: one pass finds the end and the terminators.
    if (!m_lineFeedMayFollow && !m_skipping && m_noLineEndBefore <= m_begin) {
        const char* data = m_buffer.get();
        line.terminatorCount = 0;
        const char* end = data + m_end;
        const char* lineBreak = findLineBreak(data + m_begin, end, line);
        if (lineBreak != end)
            return takeLine(static_cast<std::size_t>(lineBreak - data), line);
    }
    return nextAfterRefill(line);
}

LineReader::Result LineReader::next(std::string_view& line)
{
    Line read;
    const Result result = next(read);
    line = read.text;
    return result;
}

LineReader::Result LineReader::nextAfterRefill(Line& line)
{
    for (;;) {
        if (m_lineFeedMayFollow && m_begin < m_end) {
            if (m_buffer[m_begin] == '\n')
                ++m_begin;
            m_lineFeedMayFollow = false;
        }
        const char* data = m_buffer.get();
        const std::size_t from = std::max(m_begin, m_noLineEndBefore);
        line.terminatorCount = 0;
        const std::size_t lineBreak =
            static_cast<std::size_t>(findLineBreak(data + from, data + m_end, line) - data);
        const bool atEnd = lineBreak == m_end && m_eof;
        if (lineBreak < m_end || atEnd) {
            if (atEnd && m_begin == m_end && !m_skipping)
                return Result::End;
            // The line began before `from`: its terminators are noted again from its start.
            if (from != m_begin) {
                line.terminatorCount = 0;
                findLineBreak(data + m_begin, data + lineBreak, line);
            }
            return takeLine(lineBreak, line);
        }
        m_noLineEndBefore = m_end;
        if (m_skipping || m_end - m_begin > m_maxLineBytes) {
            m_skipping = true;
            m_begin = m_end;
        }
        if (!fill())
            return Result::Failed;
    }
}

} // namespace reminder
