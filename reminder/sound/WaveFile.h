#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A RIFF WAVE file of 16-bit PCM mono samples: the header and the samples, little-endian.
namespace birthday_tune {

std::string waveFileBytes(const std::vector<std::int16_t>& samples, int sampleRate);

} // namespace birthday_tune
