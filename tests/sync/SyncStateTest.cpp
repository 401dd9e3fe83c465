#include "sync/SyncState.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace mirror;

// Whatever bytes the lines hold (tabs, line ends, "§", backslashes), the state reads back the
// same, and a file cut short is no state at all.
TEST(SyncState, ReadsBackWhatItWroteAndNothingOfAFileCutShort)
{
    SyncState state;
    state.addressBook = "/ana/libreta/";
    state.syncToken = "http://radicale.org/ns/sync/123";
    state.lastSync = std::chrono::year{2026} / 12 / 8;
    contacts::Fields card;
    card[contacts::ContactField::Name] = "Ana\tcon\\tab";
    card[contacts::ContactField::Note] = "dos\r\nlíneas";
    state.pairs.push_back({"uid-1", "/ana/libreta/1.vcf", "\"e1\"",
                           "Ana\xA7\xA7"
                           "30\xA7",
                           "Ana\xA7\xA7"
                           "31\xA7",
                           card});
    state.calendar = "/ana/cumples/";
    state.events.push_back({"cumple-1", "/ana/cumples/1.ics", "\"x\"", "Ana 05/03"});

    TempDir dir;
    ASSERT_TRUE(writeState(dir.path(), state));
    const auto read = readState(dir.path());
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, state);

    const std::string text = serializeState(state);
    EXPECT_FALSE(parseState(text.substr(0, text.size() - 3)));
    EXPECT_FALSE(parseState(text.substr(0, text.size() / 2)));
}
