#pragma once

#include <filesystem>

namespace platform {

// The directory of the running executable, symbolic links resolved, so that a launcher in
// ~/.local/bin that links to the program still finds the contact file beside the program.
std::filesystem::path programDirectory();

} // namespace platform
