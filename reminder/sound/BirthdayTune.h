#pragma once

#include <cstdint>
#include <vector>

// The reminder's birthday sound, made by the project: the opening two phrases of "Happy Birthday
// to You" (a melody in the public domain) on a soft bell-like voice, about five seconds long.
namespace birthday_tune {

inline constexpr int kSampleRate = 22050;

// Mono 16-bit samples, starting and ending in silence.
std::vector<std::int16_t> renderBirthdayTune();

} // namespace birthday_tune
