// Old birthday markers go; nothing else in the program directory does.
#include "reminder/core/OldMarkers.h"

#include "contacts/BirthdayMarkers.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <set>

using namespace reminder;
using namespace std::chrono;

namespace {

std::set<std::string> filesIn(const TempDir& dir)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        names.insert(entry.path().filename().string());
    return names;
}

TEST(OldMarkers, OnlyEmptyMarkersOfTheUsersOwnOnOrBeforeTheDayGo)
{
    TempDir dir;
    const Date lastDay = 2025y / December / 6d;
    const Date today = 2026y / December / 7d;
    const std::vector<std::string> old = {
        "06122025§Ana§Anita",                                                // on the day
        "05122024§Bea§",                                                     // two years back
        contacts::compactBirthdayMarkerName(2025y / March / 1d, "Ciro", ""), // compact form
        "7122024AnaAnita", // the first form (7/1/2202 and "4AnaAnita" is no day it was made)
        "1112025Eva",      // first form, 1/11 or 11/1
    };
    const std::vector<std::string> kept = {
        "07122025§Ana§Anita", // the day after: the catch-up may still ask for it
        "07122026§Ana§Anita", // today's
        "8122025Eva",         // 8/12 of 2025: the day after
        "7122030Ana",         // made on a day after today (a wrong clock): no reading to go by
        "data.tvl",           // empty or not, no marker
        "data.tvl.lock",
        ".Avisela.lock",
        "712.tvl", // a day marker
        "ages-up-to-date.txt",
        "Cumple.WAV",
        "31022025§Ana§", // no day of the calendar: no marker
    };
    for (const auto& name : old)
        writeBytes(dir / name, "");
    for (const auto& name : kept)
        writeBytes(dir / name, "");
    // Marker names that are not empty regular files stay too.
    writeBytes(dir / "01012025§Con contenido§", "x");
    std::filesystem::create_directory(dir / "01012025§Carpeta§");
    writeBytes(dir / "target", "");
    std::filesystem::create_symlink(dir / "target", dir / "01012025§Enlace§");

    EXPECT_EQ(removeBirthdayMarkersUpTo(dir.path(), lastDay, today), static_cast<int>(old.size()));
    std::set<std::string> expected(kept.begin(), kept.end());
    expected.insert({"01012025§Con contenido§", "01012025§Carpeta§", "target", "01012025§Enlace§"});
    EXPECT_EQ(filesIn(dir), expected);
    EXPECT_TRUE(std::filesystem::exists(dir / "target"));
}

TEST(OldMarkers, AMissingDirectoryIsNoFailure)
{
    TempDir dir;
    EXPECT_EQ(removeBirthdayMarkersUpTo(dir / "gone", 2025y / December / 6d, 2026y / December / 7d),
              0);
}

} // namespace
