#include "system/Hash64.h"

#include <cstring>

namespace sys {
namespace {

constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;

std::uint64_t mixed(std::uint64_t h)
{
    h ^= h >> 31;
    h *= 0xBF58476D1CE4E5B9ULL;
    h ^= h >> 29;
    return h;
}

} // namespace

std::uint64_t hash64(std::string_view bytes)
{
    std::uint64_t h = 0x243F6A8885A308D3ULL ^ (bytes.size() * kMultiplier);
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    for (; left >= 8; data += 8, left -= 8) {
        std::uint64_t word;
        std::memcpy(&word, data, 8);
        h = (h ^ word) * kMultiplier;
        h ^= h >> 32;
    }
    std::uint64_t tail = 0;
    std::memcpy(&tail, data, left);
    h = (h ^ tail) * kMultiplier;
    return mixed(h);
}

} // namespace sys
