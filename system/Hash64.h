#pragma once

#include <cstdint>
#include <string_view>

namespace sys {

// A 64-bit hash that stays the same across runs and builds of the programs on one machine (unlike
// std::hash), for telling two contents or two paths apart in files that outlive a process. It
// takes eight bytes a step: the contact file is hashed whole. Not meant to resist an attacker.
std::uint64_t hash64(std::string_view bytes);

} // namespace sys
