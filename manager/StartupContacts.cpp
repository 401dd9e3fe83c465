#include "manager/StartupContacts.h"

#include "manager/NameOrder.h"

#include <malloc.h>

namespace manager {

StartupContacts readStartupContacts(const std::filesystem::path& programDir)
{
    StartupContacts startup{contacts::ContactStore(programDir), {}, std::nullopt};
    startup.loaded = startup.store.load();
    std::vector<contacts::Contact>& read = startup.loaded.book.contacts;
    if (!read.empty())
        startup.firstInFile = read.front();
    read = inNameOrder(std::move(read));
    return startup;
}

std::future<StartupContacts> startReadingContacts(const std::filesystem::path& programDir)
{
    // One heap for every thread: the contacts read here are then kept and freed by the window
    // thread, and with a heap of their own the memory they leave would not serve it again (a
    // book of 100,000 contacts held 10 MiB more at its peak).
    ::mallopt(M_ARENA_MAX, 1);
    return std::async(std::launch::async, readStartupContacts, programDir);
}

} // namespace manager
