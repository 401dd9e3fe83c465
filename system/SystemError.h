#pragma once

#include <string>

namespace sys {

// A failure of the system as the user is told it, in Spanish whatever the desktop's language:
// a short sentence for the failures a user meets and can act on (no space left, no permission,
// a read-only disk, a missing file or folder, a file too large), with the error's name as a
// detail for whoever helps; any other failure in general words, with the system's own text as
// the detail.
std::string describeSystemError(int errorNumber);

} // namespace sys
