// The yardstick for the reminder's start-up as a whole process: PlainStreamingReader on a file.
#include "bench/PlainStreamingReader.h"

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: plain_reader FILE\n");
        return 2;
    }
    const bench::PlainReading reading = bench::readPlainly(argv[1]);
    // Something that depends on every birthday, so that no work can be left out.
    return static_cast<int>((reading.lines + reading.dayMonthSum) & 1);
}
