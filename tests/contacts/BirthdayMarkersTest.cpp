#include "contacts/BirthdayMarkers.h"

#include "tests/support/FileText.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <set>

using namespace contacts;
using namespace std::chrono;

namespace {

const year_month_day kDec7 = 2026y / December / 7d;

TEST(BirthdayMarkerName, SeparatesDateNameAndAlias)
{
    EXPECT_EQ(birthdayMarkerName(kDec7, "Ana", "Anita"), "07122026§Ana§Anita");
    EXPECT_EQ(birthdayMarkerName(2027y / January / 5d, "Ana", ""), "05012027§Ana§");
    // Stored in Windows-1252, named in UTF-8 like every other file of the desktop.
    EXPECT_EQ(birthdayMarkerName(kDec7, cp1252("Begoña"), cp1252("Beñi")), "07122026§Begoña§Beñi");
    // Contacts and dates that the names of the first form ran together stay apart.
    EXPECT_NE(birthdayMarkerName(2026y / March / 5d, "Ana", "Bel"),
              birthdayMarkerName(2026y / March / 5d, "AnaB", "el"));
    EXPECT_NE(birthdayMarkerName(2026y / February / 11d, "Ana", ""),
              birthdayMarkerName(2026y / December / 1d, "Ana", ""));
    EXPECT_NE(compactBirthdayMarkerName(2026y / February / 11d, "Ana", ""),
              compactBirthdayMarkerName(2026y / December / 1d, "Ana", ""));
}

// The journal of a rewrite may only name markers: whatever else a hand writes there is no
// marker's name, however it is dressed.
TEST(BirthdayMarkerName, OnlyTheMarkersOwnFormsAreMarkerNames)
{
    const std::string longName(400, 'n');
    for (const auto& [name, alias] : std::vector<std::pair<std::string, std::string>>{
             {"Ana", "Anita"}, {"../x", "/y"}, {longName, longName}, {"", ""}}) {
        EXPECT_TRUE(isBirthdayMarkerName(birthdayMarkerName(kDec7, name, alias))) << name;
        EXPECT_TRUE(isBirthdayMarkerName(compactBirthdayMarkerName(kDec7, name, alias))) << name;
    }
    for (std::string_view other :
         {"data.tvl", "data.tvl2", "data2.tvl", "data.tvl.lock", ".Agendela.lock", "../victim",
          "/home/ana/.ssh/id_rsa", "07122026§../x", "07122026§a/b", "7122026AnaAnita", "712.tvl",
          "31022026§Ana§", "07122026", "07122026%~0123", "07122026%~0123456789abcdeg", "",
          "07122026§Ana\n§"}) {
        EXPECT_FALSE(isBirthdayMarkerName(other)) << other;
    }
}

// An age advanced under the first form of the names is never advanced again: such a marker
// still counts, though it is never made any more.
TEST(BirthdayMarkerName, MarkersOfTheFirstFormStillCount)
{
    TempDir dir;
    writeBytes(dir / "532026AnaBel", "");
    writeBytes(dir / "1122026Eva", "");
    EXPECT_TRUE(markerFileExists(dir.path(), birthdayMarker(2026y / March / 5d, "Ana", "Bel")));
    EXPECT_EQ(makeMarkerFile(dir.path(), birthdayMarker(2026y / March / 5d, "Ana", "Bel")),
              MarkerMade::AlreadyThere);
    EXPECT_TRUE(markerFileExists(dir.path(), birthdayMarker(2026y / February / 11d, "Eva", "")));
    EXPECT_FALSE(markerFileExists(dir.path(), birthdayMarker(2027y / March / 5d, "Ana", "Bel")));
    EXPECT_EQ(makeMarkerFile(dir.path(), birthdayMarker(2027y / March / 5d, "Ana", "Bel")),
              MarkerMade::Made);
    EXPECT_TRUE(std::filesystem::exists(dir / "05032027§Ana§Bel"));
}

TEST(BirthdayMarkerName, NeverLeavesTheProgramDirectory)
{
    for (const auto& [name, alias] :
         std::vector<std::pair<std::string, std::string>>{{"/", ""},
                                                          {"..", "/../../etc/passwd"},
                                                          {"../x", ".."},
                                                          {std::string("Ana\0Bea", 7), ""},
                                                          {"a\nb", "\x7F"}}) {
        const std::string file = birthdayMarkerName(kDec7, name, alias);
        EXPECT_EQ(file.find('/'), std::string::npos) << file;
        EXPECT_EQ(file.find('\0'), std::string::npos) << file;
        EXPECT_EQ(std::filesystem::path(file).filename().string(), file);
        EXPECT_LE(file.size(), 255u);
    }
    EXPECT_EQ(birthdayMarkerName(kDec7, "../x", ".."), "07122026§..%2Fx§..");
}

TEST(BirthdayMarkerName, EncodedNamesNeverMeetEachOtherOrAPlainOne)
{
    const std::string longName(400, 'n');
    const std::string names[][2] = {
        {"A/B", ""},          {"A%2FB", ""},   {std::string("A\0B", 3), ""},
        {"A%00B", ""},        {"A%B", ""},     {longName, ""},
        {longName + "x", ""}, {longName, "x"}, {"AnaA", "nita"}};
    std::set<std::string> files;
    for (const auto& pair : names)
        files.insert(birthdayMarkerName(kDec7, pair[0], pair[1]));
    EXPECT_EQ(files.size(), std::size(names));
    // Ordinary names keep their plain, readable form.
    EXPECT_EQ(files.count("07122026§AnaA§nita"), 1u);
}

TEST(BirthdayMarkerName, LongNamesAreCutWithinTheFileNameLimit)
{
    // Three-byte UTF-8 for every "€" of the stored name.
    const std::string euros(200, '\x80');
    const std::string file = birthdayMarkerName(kDec7, euros, euros);
    EXPECT_LE(file.size(), 255u);
    EXPECT_EQ(file.rfind("07122026§€€", 0), 0u);
    EXPECT_NE(file, birthdayMarkerName(kDec7, euros, euros + "\x80"));
}

TEST(MakeBirthdayMarker, CreatesOnceThenFindsIt)
{
    TempDir dir;
    EXPECT_EQ(makeMarkerFile(dir.path(), birthdayMarker(kDec7, "Ana", "Anita")), MarkerMade::Made);
    EXPECT_TRUE(std::filesystem::is_regular_file(dir / "07122026§Ana§Anita"));
    EXPECT_TRUE(markerFileExists(dir.path(), birthdayMarker(kDec7, "Ana", "Anita")));
    EXPECT_EQ(makeMarkerFile(dir.path(), birthdayMarker(kDec7, "Ana", "Anita")),
              MarkerMade::AlreadyThere);
    EXPECT_EQ(makeMarkerFile(dir.path(), birthdayMarker(2027y / December / 7d, "Ana", "Anita")),
              MarkerMade::Made);
}

TEST(MakeBirthdayMarker, NamesThatEscapeStayInside)
{
    TempDir dir;
    std::filesystem::create_directory(dir / "sub");
    const std::filesystem::path programDir = dir / "sub";
    EXPECT_EQ(makeMarkerFile(programDir, birthdayMarker(kDec7, "/../..", "/x")), MarkerMade::Made);
    std::size_t inside = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(programDir))
        ++inside;
    EXPECT_EQ(inside, 1u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(MakeBirthdayMarker, AGoneProgramDirectoryCreatesNothing)
{
    TempDir dir;
    EXPECT_EQ(makeMarkerFile(dir / "missing", birthdayMarker(kDec7, "Ana", "Anita")),
              MarkerMade::Failed);
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

TEST(MakeBirthdayMarker, AnExistingLinkCountsAndIsNotFollowed)
{
    TempDir dir;
    std::filesystem::create_symlink(dir / "elsewhere", dir / "07122026§Ana§Anita");
    EXPECT_EQ(makeMarkerFile(dir.path(), birthdayMarker(kDec7, "Ana", "Anita")),
              MarkerMade::AlreadyThere);
    EXPECT_TRUE(markerFileExists(dir.path(), birthdayMarker(kDec7, "Ana", "Anita")));
    EXPECT_FALSE(std::filesystem::exists(dir / "elsewhere"));
}

TEST(MakeBirthdayMarker, ANameTheFileSystemRefusesFallsBackToTheCompactOne)
{
    TempDir dir;
    // A readable name over the 255 bytes of a file name stands for one a file system refuses.
    MarkerFile marker = birthdayMarker(kDec7, "Ana", "Anita");
    marker.name = std::string(300, 'a');
    EXPECT_EQ(makeMarkerFile(dir.path(), marker), MarkerMade::Made);
    EXPECT_TRUE(std::filesystem::exists(dir / compactBirthdayMarkerName(kDec7, "Ana", "Anita")));
    EXPECT_TRUE(markerFileExists(dir.path(), marker));
    EXPECT_EQ(makeMarkerFile(dir.path(), marker), MarkerMade::AlreadyThere);
}

} // namespace

namespace {

// The clean-up of old markers goes by the dates a name may stand for: one for the current form,
// every reading of the first form's run-together numbers, none for any other file.
TEST(BirthdayMarkerDates, OneForTheCurrentFormEveryReadingForTheFirst)
{
    using Dates = std::vector<year_month_day>;
    EXPECT_EQ(birthdayMarkerDates("07122026§Ana§Anita"), Dates{kDec7});
    EXPECT_EQ(birthdayMarkerDates(compactBirthdayMarkerName(kDec7, "Ana", "")), Dates{kDec7});
    // 7/12 of 2026, or 7/1 of 2202 followed by "6AnaAnita".
    EXPECT_EQ(birthdayMarkerDates("7122026AnaAnita"), (Dates{2202y / January / 7d, kDec7}));
    // 1/11 or 11/1 of 2026, and 1/1 of 1202 followed by "6Eva".
    EXPECT_EQ(birthdayMarkerDates("1112026Eva"),
              (Dates{1202y / January / 1d, 2026y / November / 1d, 2026y / January / 11d}));
    for (const auto& name : birthdayMarker(2026y / March / 5d, "Ana", "Bel").formerNames)
        EXPECT_EQ(birthdayMarkerDates(name), Dates{2026y / March / 5d}) << name;
    for (std::string_view other :
         {"data.tvl", "data.tvl2", "data2.tvl", "data.tvl.lock", ".Avisela.lock", "712.tvl",
          "1512.tvl", "ages-up-to-date.txt", "installed-files.txt", "Cumple.WAV", "712202",
          "07122026", "0712026Ana", "Agendela", "libavisela_windows.so"})
        EXPECT_TRUE(birthdayMarkerDates(other).empty()) << other;
}

} // namespace
