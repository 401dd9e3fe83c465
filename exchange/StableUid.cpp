#include "exchange/StableUid.h"

#include "contacts/Windows1252.h"

#include <cstdint>
#include <cstdio>

namespace exchange {
namespace {

// FNV-1a, 64 bits: stable across builds and machines, unlike std::hash.
std::uint64_t fnv1a(std::string_view bytes)
{
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

} // namespace

std::string stableUid(std::string_view name, std::string_view kind)
{
    const std::optional<std::string> bytes = contacts::utf8ToWindows1252(name);
    const std::uint64_t hash = fnv1a(bytes ? contacts::lowerWindows1252(*bytes) : name);
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return std::string(kind) + "-" + hex + "@tortavela";
}

} // namespace exchange
