#include "reminder/sound/BirthdayTune.h"

#include "reminder/sound/WaveFile.h"

#include <cstring>
#include <gtest/gtest.h>

using namespace birthday_tune;

namespace {

std::uint32_t readLittleEndian(const std::string& bytes, std::size_t at, int count)
{
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

TEST(WaveFile, HeaderDescribesSixteenBitMonoPcm)
{
    const std::vector<std::int16_t> samples = {0, 1, -1, 32767, -32768};
    const std::string file = waveFileBytes(samples, 22050);
    ASSERT_EQ(file.size(), 44u + 2 * samples.size());
    EXPECT_EQ(file.substr(0, 4), "RIFF");
    EXPECT_EQ(readLittleEndian(file, 4, 4), file.size() - 8);
    EXPECT_EQ(file.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(readLittleEndian(file, 16, 4), 16u);    // format chunk size
    EXPECT_EQ(readLittleEndian(file, 20, 2), 1u);     // PCM
    EXPECT_EQ(readLittleEndian(file, 22, 2), 1u);     // mono
    EXPECT_EQ(readLittleEndian(file, 24, 4), 22050u); // sample rate
    EXPECT_EQ(readLittleEndian(file, 28, 4), 44100u); // bytes per second
    EXPECT_EQ(readLittleEndian(file, 32, 2), 2u);     // block align
    EXPECT_EQ(readLittleEndian(file, 34, 2), 16u);    // bits per sample
    EXPECT_EQ(file.substr(36, 4), "data");
    EXPECT_EQ(readLittleEndian(file, 40, 4), 2 * samples.size());
    EXPECT_EQ(readLittleEndian(file, 44 + 2 * 3, 2), 0x7FFFu);
    EXPECT_EQ(readLittleEndian(file, 44 + 2 * 4, 2), 0x8000u);
}

TEST(BirthdayTune, IsAFewSecondsOfUnclippedSoundFadingIntoSilence)
{
    const std::vector<std::int16_t> samples = renderBirthdayTune();
    const double seconds = static_cast<double>(samples.size()) / kSampleRate;
    EXPECT_GT(seconds, 2.0);
    EXPECT_LT(seconds, 8.0);
    int loudest = 0;
    for (std::int16_t sample : samples)
        loudest = std::max(loudest, std::abs(static_cast<int>(sample)));
    // Loud enough to hear, with headroom below the clipping point.
    EXPECT_GT(loudest, 16000);
    EXPECT_LT(loudest, 32000);
    // It starts and ends without a click.
    EXPECT_LT(std::abs(samples.front()), 50);
    EXPECT_LT(std::abs(samples.back()), 50);
}

} // namespace
