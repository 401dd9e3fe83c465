#pragma once

#include "contacts/ContactStore.h"

#include <QString>
#include <vector>

namespace manager {

// What the main window tells the user about lines of the contact file that hold no contact:
// how many and which, and that they are kept as they are. Empty when every line was read.
QString unreadableLinesNotice(const std::vector<contacts::UnreadableLine>& lines);

} // namespace manager
