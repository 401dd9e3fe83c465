#include "reminder/core/DayMarkers.h"
#include "reminder/core/StartupScan.h"
#include "tests/support/FileText.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace reminder;
using namespace std::chrono;
using Names = std::vector<std::string>;

namespace {

TEST(DayMarkers, NamesCarryDayAndMonthWithoutLeadingZeros)
{
    EXPECT_EQ(dayMarkerName(2026y / December / 7d), "712.tvl");
    EXPECT_EQ(dayMarkerName(2027y / January / 5d), "51.tvl");
    EXPECT_EQ(dayMarkerName(2026y / November / 1d), "111.tvl");
    EXPECT_EQ(dayMarkerName(2027y / January / 11d), "111.tvl");
}

TEST(DayMarkers, LastMonthsMarkerInJanuaryIsDecembers)
{
    EXPECT_EQ(lastMonthsDayMarkerName(2027y / March / 15d), "152.tvl");
    EXPECT_EQ(lastMonthsDayMarkerName(2027y / February / 15d), "151.tvl");
    EXPECT_EQ(lastMonthsDayMarkerName(2027y / January / 15d), "1512.tvl");
}

TEST(DayMarkers, DeletecomayerRemovesOnlyLastMonthsMarker)
{
    TempDir dir;
    for (const char* name : {"1512.tvl", "1501.tvl", "150.tvl", "151.tvl", "data.tvl"})
        writeBytes(dir / name, "");
    deleteLastMonthsDayMarker(dir.path(), 2027y / January / 15d);
    EXPECT_FALSE(std::filesystem::exists(dir / "1512.tvl"));
    for (const char* name : {"1501.tvl", "150.tvl", "151.tvl", "data.tvl"})
        EXPECT_TRUE(std::filesystem::exists(dir / name)) << name;
    // Nothing to delete is no failure.
    deleteLastMonthsDayMarker(dir.path(), 2027y / January / 15d);
}

TEST(Startup, ScansTheContactFile)
{
    TempDir dir;
    writeBytes(dir / "data.tvl", fileOf({recordLine({"Ana", "", "30", "07/12", "", "", "", ""}),
                                         recordLine({"Bea", "", "", "10/12", "", "", "", ""})}));
    const auto due = runStartup(dir.path(), 2026y / December / 7d);
    ASSERT_TRUE(due);
    EXPECT_EQ(due->today, (Names{"Ana"}));
    EXPECT_EQ(due->inThreeDays, (Names{"Bea"}));
}

TEST(Startup, MissingContactFileLeavesTodaysDayMarkerAndEnds)
{
    TempDir dir;
    writeBytes(dir / "712.tvl", "old content");
    EXPECT_FALSE(runStartup(dir.path(), 2026y / December / 7d));
    EXPECT_TRUE(std::filesystem::exists(dir / "712.tvl"));
    EXPECT_EQ(std::filesystem::file_size(dir / "712.tvl"), 0u);
    // Only the reminder's marker: the manager creates the contact file, not the reminder.
    EXPECT_FALSE(std::filesystem::exists(dir / "data.tvl"));
}

TEST(Startup, AnUnreadableContactFileEnds)
{
    TempDir dir;
    std::filesystem::create_directory(dir / "data.tvl");
    EXPECT_EQ(scanContactFile(dir.path(), 2026y / December / 7d).status,
              ScanResult::Status::Failed);
    EXPECT_FALSE(runStartup(dir.path(), 2026y / December / 7d));
    EXPECT_FALSE(std::filesystem::exists(dir / "712.tvl"));
}

TEST(Startup, ReadsLinesAcrossBlocksLikeTheWholeFile)
{
    TempDir dir;
    // Enough lines to span several blocks, today's birthdays scattered among them.
    std::vector<std::string> lines;
    Names expected;
    for (int i = 0; i < 5000; ++i) {
        const std::string name = "Contacto " + std::to_string(i);
        const bool today = i % 97 == 0;
        lines.push_back(recordLine({name, "", "1", today ? "07/12" : "15/06", "", "", "", ""}));
        if (today)
            expected.push_back(name);
    }
    writeBytes(dir / "data.tvl", fileOf(lines));
    const ScanResult scan = scanContactFile(dir.path(), 2026y / December / 7d);
    ASSERT_EQ(scan.status, ScanResult::Status::Scanned);
    EXPECT_EQ(scan.due.today, expected);
}

} // namespace
