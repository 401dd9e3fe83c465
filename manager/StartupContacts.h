#pragma once

#include "contacts/ContactStore.h"

#include <filesystem>
#include <future>
#include <optional>

namespace manager {

// What the manager's list starts with: the contact file read and its contacts put in name order.
// Nothing here needs the display, so the manager does it on a thread of its own while it
// connects to the display, which takes longer.
struct StartupContacts {
    contacts::ContactStore store;
    contacts::LoadResult loaded; // its contacts in name order
    // The file's first contact: its row is the one selected at start.
    std::optional<contacts::Contact> firstInFile;
};

// Creates an empty contact file when there is none, as every start of the manager does.
StartupContacts readStartupContacts(const std::filesystem::path& programDir);

// readStartupContacts on a thread of its own, started at once: call it before the application
// object is made.
std::future<StartupContacts> startReadingContacts(const std::filesystem::path& programDir);

} // namespace manager
