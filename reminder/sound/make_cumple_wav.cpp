// Writes the reminder's birthday sound: make_cumple_wav FILE
#include "reminder/sound/BirthdayTune.h"
#include "reminder/sound/WaveFile.h"

#include <cstdio>
#include <fstream>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_cumple_wav FILE\n");
        return 2;
    }
    const std::string bytes = birthday_tune::waveFileBytes(birthday_tune::renderBirthdayTune(),
                                                           birthday_tune::kSampleRate);
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return out ? 0 : 1;
}
