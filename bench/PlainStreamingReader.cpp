#include "bench/PlainStreamingReader.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace bench {
namespace {

constexpr std::size_t kBlock = 64 * 1024;
// A line longer than this is cut: the yardstick is for ordinary contact files.
constexpr std::size_t kLongestLine = 4096;
constexpr char kTerminator = '\xA7';

unsigned number(const char*& p, const char* end)
{
    unsigned value = 0;
    for (; p < end && *p >= '0' && *p <= '9'; ++p)
        value = value * 10 + static_cast<unsigned>(*p - '0');
    return value;
}

void readLine(const char* line, const char* end, PlainReading& reading)
{
    ++reading.lines;
    const char* p = line;
    for (int field = 0; field < 3; ++field) {
        p = static_cast<const char*>(
            std::memchr(p, kTerminator, static_cast<std::size_t>(end - p)));
        if (!p)
            return;
        ++p;
    }
    const unsigned day = number(p, end);
    if (p < end && *p == '/')
        ++p;
    const unsigned month = number(p, end);
    reading.dayMonthSum += day * 32 + month;
}

} // namespace

PlainReading readPlainly(const char* file)
{
    PlainReading reading;
    const int fd = ::open(file, O_RDONLY);
    if (fd < 0)
        return reading;
    static char buffer[kBlock + kLongestLine];
    std::size_t kept = 0;
    for (;;) {
        const ssize_t n = ::read(fd, buffer + kept, kBlock);
        if (n <= 0) {
            if (kept > 0)
                readLine(buffer, buffer + kept, reading);
            break;
        }
        const char* end = buffer + kept + n;
        const char* line = buffer;
        while (const void* lineFeed =
                   std::memchr(line, '\n', static_cast<std::size_t>(end - line))) {
            readLine(line, static_cast<const char*>(lineFeed), reading);
            line = static_cast<const char*>(lineFeed) + 1;
        }
        kept = std::min(static_cast<std::size_t>(end - line), kLongestLine);
        std::memmove(buffer, line, kept);
    }
    ::close(fd);
    return reading;
}

} // namespace bench
