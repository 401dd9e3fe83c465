// The yardstick for the reminder's start-up: a program that only reads a contact file in 64 KiB
// blocks and splits every line into its fields, and does nothing else.
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: plain_reader FILE\n");
        return 2;
    }
    const int fd = ::open(argv[1], O_RDONLY);
    if (fd < 0)
        return 1;
    static char block[64 * 1024];
    unsigned long lines = 0;
    unsigned long fields = 0;
    unsigned long fieldBytes = 0;
    unsigned long current = 0;
    for (;;) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n <= 0)
            break;
        for (ssize_t i = 0; i < n; ++i) {
            const char c = block[i];
            if (c == '\n') {
                ++lines;
            } else if (c == '\xA7') {
                ++fields;
                fieldBytes += current;
                current = 0;
            } else if (c != '\r') {
                ++current;
            }
        }
    }
    ::close(fd);
    // Something that depends on every byte, so that no work can be left out.
    return static_cast<int>((lines + fields + fieldBytes) & 1);
}
