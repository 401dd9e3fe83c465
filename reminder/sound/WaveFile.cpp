#include "reminder/sound/WaveFile.h"

namespace birthday_tune {
namespace {

constexpr std::uint16_t kPcmFormat = 1;
constexpr std::uint16_t kChannels = 1;
constexpr std::uint16_t kBitsPerSample = 16;
constexpr std::uint32_t kFormatChunkSize = 16;
// "WAVE", the format chunk's header and body, the data chunk's header.
constexpr std::uint32_t kHeaderBytesAfterRiffSize = 4 + 8 + kFormatChunkSize + 8;

void putBytes(std::string& out, std::uint32_t value, int count)
{
    for (int i = 0; i < count; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

} // namespace

std::string waveFileBytes(const std::vector<std::int16_t>& samples, int sampleRate)
{
    const std::uint16_t blockAlign = kChannels * kBitsPerSample / 8;
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * blockAlign);
    std::string out;
    out.reserve(8 + kHeaderBytesAfterRiffSize + dataBytes);
    out += "RIFF";
    putBytes(out, kHeaderBytesAfterRiffSize + dataBytes, 4);
    out += "WAVE";
    out += "fmt ";
    putBytes(out, kFormatChunkSize, 4);
    putBytes(out, kPcmFormat, 2);
    putBytes(out, kChannels, 2);
    putBytes(out, static_cast<std::uint32_t>(sampleRate), 4);
    putBytes(out, static_cast<std::uint32_t>(sampleRate) * blockAlign, 4);
    putBytes(out, blockAlign, 2);
    putBytes(out, kBitsPerSample, 2);
    out += "data";
    putBytes(out, dataBytes, 4);
    for (std::int16_t sample : samples)
        putBytes(out, static_cast<std::uint16_t>(sample), 2);
    return out;
}

} // namespace birthday_tune
