#pragma once

#include <filesystem>
#include <string_view>

// Writing that must reach the disk whole before the next step of a rewrite relies on it.
namespace sys {

// Every byte, however many calls it takes; false when the system refuses one (errno tells why).
bool writeAll(int fd, std::string_view bytes);

// A file made, renamed or removed in `dir` lasts through a crash only once the directory is synced.
bool syncDirectory(const std::filesystem::path& dir);

// The file holds `bytes` whole or keeps what it held: written to `<file>.tmp` (0600), synced,
// renamed over it and the directory synced. False, with errno, when a step failed.
bool replaceFile(const std::filesystem::path& file, std::string_view bytes);

} // namespace sys
