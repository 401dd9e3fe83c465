#pragma once

#include <filesystem>
#include <string_view>

// Writing that must reach the disk whole before the next step of a rewrite relies on it.
namespace sys {

// Every byte, however many calls it takes; false when the system refuses one (errno tells why).
bool writeAll(int fd, std::string_view bytes);

// A file made, renamed or removed in `dir` lasts through a crash only once the directory is synced.
bool syncDirectory(const std::filesystem::path& dir);

} // namespace sys
