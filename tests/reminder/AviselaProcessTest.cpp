// The real Avisela, started as at logon from a program directory of its own, on a faked date.
#include "tests/reminder/ChildProcess.h"
#include "tests/reminder/PrivateDisplay.h"
#include "tests/support/FileText.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <set>
#include <sys/stat.h>
#include <sys/types.h>

using namespace std::chrono_literals;

namespace {

const std::string kFakeTime = FAKETIME_LIBRARY;

std::string contact(const std::string& name, const std::string& alias, const std::string& age,
                    const std::string& birthday)
{
    return recordLine({name, alias, age, birthday, "", "", "", ""});
}

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

class AviselaProcess : public testing::Test {
protected:
    TempDir dir;

    void SetUp() override
    {
        if (kFakeTime.empty())
            GTEST_SKIP() << "faketime is not installed";
        // Copies, not links: the program directory is where the executable really is.
        for (const char* file : {AVISELA_PATH, WINDOWS_LIBRARY_PATH, CUMPLE_WAV_PATH})
            std::filesystem::copy_file(file, dir / std::filesystem::path(file).filename());
    }

    // The environment of a logon: no display unless asked for, the date faked. A variable in
    // `extra` replaces the logon's own.
    std::vector<std::string> environment(const std::string& date,
                                         std::vector<std::string> extra = {}) const
    {
        const std::vector<std::string> logon = {
            "PATH=/usr/bin:/bin", "HOME=" + dir.path().string(),
            "XDG_RUNTIME_DIR=" + dir.path().string(), "LANG=es_ES.UTF-8", "TZ=Europe/Madrid",
            "LD_PRELOAD=" + kFakeTime, "FAKETIME=@" + date + " 10:00:00",
            // Qt's timers keep the real monotonic clock.
            "DONT_FAKE_MONOTONIC=1"};
        std::vector<std::string> all = extra;
        for (const std::string& variable : logon) {
            const std::string name = variable.substr(0, variable.find('=') + 1);
            if (std::none_of(extra.begin(), extra.end(),
                             [&](const std::string& set) { return set.starts_with(name); }))
                all.push_back(variable);
        }
        return all;
    }

    std::unique_ptr<ChildProcess> start(const std::string& date,
                                        std::vector<std::string> extra = {},
                                        const std::string& output = "avisela.out")
    {
        return startThrough({(dir / "Avisela").string()}, date, std::move(extra), output);
    }

    // Avisela started by another command, as its last argument.
    std::unique_ptr<ChildProcess> startThrough(const std::vector<std::string>& command,
                                               const std::string& date,
                                               std::vector<std::string> extra = {},
                                               const std::string& output = "avisela.out")
    {
        auto process = std::make_unique<ChildProcess>(command, environment(date, std::move(extra)),
                                                      dir / output);
        EXPECT_TRUE(process->started());
        return process;
    }

    std::unique_ptr<ChildProcess> startWithWindows(const std::string& date)
    {
        return start(date, {"QT_QPA_PLATFORM=offscreen"});
    }

    std::string output(const std::string& file = "avisela.out") const
    {
        return readBytes(dir / file);
    }
    std::string contacts() const { return readBytes(dir / "data.tvl"); }
    std::string remembered() const { return readBytes(dir / "ages-up-to-date.txt"); }
    void remember(const std::string& day) const { writeBytes(dir / "ages-up-to-date.txt", day); }
    // The birthday markers standing in the program directory.
    std::set<std::string> markers() const
    {
        std::set<std::string> names;
        for (const std::string& name : files())
            if (name.find("\xC2\xA7") != std::string::npos)
                names.insert(name);
        return names;
    }
    std::set<std::string> files() const
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            names.insert(entry.path().filename().string());
        return names;
    }
};

TEST_F(AviselaProcess, NothingDueEndsAtOnceWithoutLoadingQtOrTouchingFiles)
{
    const std::string content =
        fileOf({contact("Ana", "Anita", "30", "07/12"), contact("Bea", "", "40", "19/06"), "",
                cp1252("Ciro§§1§31/02§§§§§")});
    writeBytes(dir / "data.tvl", content);
    remember("2026-06-14\n");
    const auto before = files();
    const auto started = std::chrono::steady_clock::now();
    // No display at all: a window or a connection to one would fail loudly here.
    auto avisela = start("2026-06-15", {"LD_DEBUG=libs"});
    EXPECT_EQ(avisela->waitForExit(5s), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
    // The loader names every library it loads: the C library, and nothing of Qt.
    EXPECT_TRUE(contains(output(), "libc.so")) << output();
    EXPECT_FALSE(contains(output(), "libQt6")) << output();
    EXPECT_FALSE(contains(output(), "avisela_windows")) << output();
    EXPECT_EQ(contacts(), content);
    auto after = files();
    after.erase("avisela.out");
    after.erase(".Avisela.lock");
    EXPECT_EQ(after, before);
    // The one change of the day's first start: the day the ages are up to date.
    EXPECT_EQ(remembered(), "2026-06-15\n");

    // Every later start that day touches nothing at all.
    struct stat first {};
    ::stat((dir / "ages-up-to-date.txt").c_str(), &first);
    EXPECT_EQ(start("2026-06-15")->waitForExit(5s), 0);
    struct stat second {};
    ::stat((dir / "ages-up-to-date.txt").c_str(), &second);
    EXPECT_EQ(first.st_ino, second.st_ino);
    EXPECT_EQ(first.st_mtim.tv_nsec, second.st_mtim.tv_nsec);
    EXPECT_EQ(contacts(), content);
}

// The first start ever remembers its day and catches up nothing: it cannot know what passed.
TEST_F(AviselaProcess, TheFirstStartEverCatchesUpNothing)
{
    const std::string content = fileOf({contact("Ana", "", "30", "05/12")});
    writeBytes(dir / "data.tvl", content);
    EXPECT_EQ(start("2026-12-07")->waitForExit(5s), 0);
    EXPECT_EQ(contacts(), content);
    EXPECT_EQ(remembered(), "2026-12-07\n");
    EXPECT_EQ(markers(), std::set<std::string>{});
}

TEST_F(AviselaProcess, MissingContactFileLeavesTodaysDayMarker)
{
    auto avisela = start("2026-12-07", {"LD_DEBUG=libs"});
    EXPECT_EQ(avisela->waitForExit(5s), 0);
    EXPECT_TRUE(std::filesystem::exists(dir / "712.tvl"));
    EXPECT_FALSE(std::filesystem::exists(dir / "data.tvl"));
    EXPECT_FALSE(contains(output(), "libQt6"));
}

TEST_F(AviselaProcess, InJanuaryDeletesDecembersDayMarker)
{
    writeBytes(dir / "data.tvl", "");
    writeBytes(dir / "1512.tvl", "");
    writeBytes(dir / "1412.tvl", "");
    EXPECT_EQ(start("2027-01-15")->waitForExit(5s), 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "1512.tvl"));
    EXPECT_TRUE(std::filesystem::exists(dir / "1412.tvl"));
}

TEST_F(AviselaProcess, BirthdaysShowTheWindowsAndAdvanceEachAgeOnceADay)
{
    // Bad lines before the birthdays: skipped, not the end of every reminder.
    writeBytes(dir / "data.tvl",
               fileOf({"", cp1252("Ana§§30§05/03§"), contact("Ciro", "", "1", "31/02"),
                       contact("Ana", "Anita", "30", "07/12"), contact("Bea", "", "40", "09/12")}));
    const std::string advanced = cp1252("Ana§Anita§31§7/12§");
    auto first = startWithWindows("2026-12-07");
    ASSERT_TRUE(eventually([&] { return contains(contacts(), advanced); })) << output();
    EXPECT_TRUE(std::filesystem::exists(dir / "07122026§Ana§Anita"));
    EXPECT_TRUE(contains(contacts(), cp1252("Bea§§40§9/12§")));
    EXPECT_TRUE(first->running()) << "the windows stay until closed";

    // A second copy while the first shows its windows ends at once and changes nothing.
    const std::string whileShowing = contacts();
    auto second = startWithWindows("2026-12-07");
    EXPECT_EQ(second->waitForExit(5s), 0);
    EXPECT_TRUE(first->running());
    EXPECT_EQ(contacts(), whileShowing);
    first->kill();

    // Started again that day: the age stays. A record added meanwhile shows that the update
    // did run, by the short form of its birthday.
    writeBytes(dir / "data.tvl", whileShowing + fileOf({contact("Dani", "", "7", "05/03")}));
    auto third = startWithWindows("2026-12-07");
    ASSERT_TRUE(eventually([&] { return contains(contacts(), cp1252("Dani§§7§5/3§")); }))
        << output();
    EXPECT_TRUE(contains(contacts(), advanced));
    EXPECT_FALSE(contains(contacts(), cp1252("Ana§Anita§32§")));
    third->kill();

    // The daily timer's start, once the day's reminders were given, ends at once and unseen:
    // windows closed in the morning do not come back at its hour.
    const std::string given = contacts();
    auto daily = start("2026-12-07", {"QT_QPA_PLATFORM=offscreen", "TORTAVELA_DAILY_START=1"});
    EXPECT_EQ(daily->waitForExit(5s), 0);
    EXPECT_EQ(contacts(), given);
}

TEST_F(AviselaProcess, AFifoOrADeviceEndsTheStartAtOnceAndUnseen)
{
    ASSERT_EQ(::mkfifo((dir / "data.tvl").c_str(), 0644), 0);
    // No display: a window would fail loudly.
    EXPECT_EQ(start("2026-12-07")->waitForExit(5s), 0) << "a FIFO without a writer";
    for (const char* device : {"/dev/zero", "/dev/urandom"}) {
        std::filesystem::remove(dir / "data.tvl");
        std::filesystem::create_symlink(device, dir / "data.tvl");
        EXPECT_EQ(start("2026-12-07")->waitForExit(5s), 0) << device;
    }
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "data.tvl"));
}

TEST_F(AviselaProcess, AGigabyteOfNulsNeitherAbortsNorHangs)
{
    writeBytes(dir / "data.tvl", "");
    std::filesystem::resize_file(dir / "data.tvl", std::uintmax_t{1} << 30);
    // 256 MB of address space: far less than the file, ample for a bounded scan.
    auto avisela = startThrough(
        {"/bin/sh", "-c", "ulimit -v 262144 && exec \"$0\"", (dir / "Avisela").string()},
        "2026-12-07");
    EXPECT_EQ(avisela->waitForExit(60s), 0) << output();
    EXPECT_EQ(std::filesystem::file_size(dir / "data.tvl"), std::uintmax_t{1} << 30);
}

TEST_F(AviselaProcess, TwentyStartsInAReadOnlyProgramDirectoryLeaveOneCopy)
{
    // A read-only bind mount of the program directory, in a user and mount namespace of its own
    // for each start, so that no privilege is needed.
    const std::vector<std::string> readOnly = {
        "/usr/bin/unshare",
        "--map-root-user",
        "--mount",
        "/bin/sh",
        "-c",
        "mount --bind -o ro \"${0%/*}\" \"${0%/*}\" && exec \"$0\""};
    const auto through = [&](const std::string& program) {
        std::vector<std::string> command = readOnly;
        command.push_back(program);
        return command;
    };
    if (startThrough(through("/bin/true"), "2026-12-07")->waitForExit(10s) != 0)
        GTEST_SKIP() << "no user namespaces here: " << output();

    writeBytes(dir / "data.tvl", fileOf({contact("Ana", "", "30", "07/12")}));
    TempDir runtime;
    std::vector<std::unique_ptr<ChildProcess>> starts;
    for (int i = 0; i < 20; ++i)
        starts.push_back(startThrough(
            through((dir / "Avisela").string()), "2026-12-07",
            {"QT_QPA_PLATFORM=offscreen", "XDG_RUNTIME_DIR=" + runtime.path().string()},
            "avisela" + std::to_string(i) + ".out"));
    const auto runningCopies = [&] {
        return std::count_if(starts.begin(), starts.end(),
                             [](const auto& avisela) { return avisela->running(); });
    };
    // Every copy but the one with the windows ends; that one stays until its windows close.
    EXPECT_TRUE(eventually([&] { return runningCopies() == 1; }, 30s));
    std::this_thread::sleep_for(1s);
    EXPECT_EQ(runningCopies(), 1);
    // Nothing could be written; the age waits for the next start.
    EXPECT_EQ(contacts(), fileOf({contact("Ana", "", "30", "07/12")}));
}

// The catch-up on faked dates, through the real program: the bytes of data.tvl, the markers and
// the remembered day after each start.
struct CatchUpRow {
    const char* row;
    const char* remembered; // the day of the last start
    const char* today;
    std::vector<std::string> before;
    std::vector<std::string> after;
    std::set<std::string> markers;
    const char* rememberedAfter;
};

void PrintTo(const CatchUpRow& row, std::ostream* out)
{
    *out << row.row;
}

class AviselaCatchUp : public AviselaProcess, public testing::WithParamInterface<CatchUpRow> {};

TEST_P(AviselaCatchUp, CountsEachMissedBirthdayOnceAndTellsIt)
{
    const CatchUpRow& row = GetParam();
    writeBytes(dir / "data.tvl", fileOf(row.before));
    remember(std::string(row.remembered) + "\n");
    const std::string expected = fileOf(row.after);
    {
        auto avisela = startWithWindows(row.today);
        ASSERT_TRUE(eventually([&] {
            return remembered() == std::string(row.rememberedAfter) + "\n";
        })) << output()
            << remembered();
        EXPECT_EQ(contacts(), expected);
        EXPECT_EQ(markers(), row.markers);
        // The windows stay until closed: the birthdays caught up are told.
        EXPECT_TRUE(avisela->running()) << output();
    }
    // A second start the same day changes nothing and catches up nothing again.
    auto again = startWithWindows(row.today);
    std::this_thread::sleep_for(1s);
    EXPECT_EQ(contacts(), expected);
    EXPECT_EQ(markers(), row.markers);
    EXPECT_EQ(remembered(), std::string(row.rememberedAfter) + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    FakedDates, AviselaCatchUp,
    testing::Values(
        // Off from Friday to Monday: Saturday's and Sunday's birthdays, an unknown age kept.
        CatchUpRow{"weekend",
                   "2026-12-04",
                   "2026-12-07",
                   {contact("Ana Núñez", "", "30", "05/12"), contact("Bea", "Bei", "", "06/12"),
                    contact("Ciro", "", "50", "04/12"), contact("Dora", "", "9", "20/06")},
                   {contact("Ana Núñez", "", "31", "5/12"), contact("Bea", "Bei", "", "6/12"),
                    contact("Ciro", "", "50", "4/12"), contact("Dora", "", "9", "20/6")},
                   {"05122026§Ana Núñez§", "06122026§Bea§Bei"},
                   "2026-12-07"},
        // Across the month's end, with a birthday today: one rewrite for both.
        CatchUpRow{"monthEnd",
                   "2026-11-27",
                   "2026-12-01",
                   {contact("Ana", "", "30", "30/11"), contact("Bea", "", "40", "01/12"),
                    contact("Ciro", "", "50", "27/11"), contact("Dora", "", "5", "28/11")},
                   {contact("Ana", "", "31", "30/11"), contact("Bea", "", "41", "1/12"),
                    contact("Ciro", "", "50", "27/11"), contact("Dora", "", "6", "28/11")},
                   {"30112026§Ana§", "01122026§Bea§", "28112026§Dora§"},
                   "2026-12-01"},
        CatchUpRow{"yearEnd",
                   "2026-12-30",
                   "2027-01-02",
                   {contact("Ana", "", "30", "31/12"), contact("Bea", "", "40", "01/01"),
                    contact("Ciro", "", "50", "30/12")},
                   {contact("Ana", "", "31", "31/12"), contact("Bea", "", "41", "1/1"),
                    contact("Ciro", "", "50", "30/12")},
                   {"31122026§Ana§", "01012027§Bea§"},
                   "2027-01-02"},
        // 29 February counts on 28 February of a common year.
        CatchUpRow{"leapDayInACommonYear",
                   "2027-02-26",
                   "2027-03-01",
                   {contact("Leo", "", "3", "29/02"), contact("Lea", "", "7", "28/02"),
                    contact("Max", "", "1", "01/03")},
                   {contact("Leo", "", "4", "29/2"), contact("Lea", "", "8", "28/2"),
                    contact("Max", "", "2", "1/3")},
                   {"28022027§Leo§", "28022027§Lea§", "01032027§Max§"},
                   "2027-03-01"},
        // Two years off: at most one birthday per contact is caught up, within the last 366
        // days (a year ago today, for a birthday today, besides today's): Dora's 6/12 of 2026
        // counts, that of 2025 is further back.
        CatchUpRow{
            "twoYears",
            "2024-12-01",
            "2026-12-07",
            {contact("Ana", "", "30", "05/12"), contact("Bea", "", "40", "07/12"),
             contact("Ciro", "", "50", "10/01"), contact("Dora", "", "20", "06/12")},
            {contact("Ana", "", "31", "5/12"), contact("Bea", "", "42", "7/12"),
             contact("Ciro", "", "51", "10/1"), contact("Dora", "", "21", "6/12")},
            {"05122026§Ana§", "07122025§Bea§", "07122026§Bea§", "10012026§Ciro§", "06122026§Dora§"},
            "2026-12-07"}),
    [](const testing::TestParamInfo<CatchUpRow>& info) { return std::string(info.param.row); });

TEST_F(AviselaProcess, MarkersOlderThanTheCatchUpCanLookBackAreRemoved)
{
    writeBytes(dir / "data.tvl", fileOf({contact("Ana", "", "30", "05/06")}));
    remember("2026-11-30\n");
    for (const char* old : {"05122024§Ana§", "06122025§Ana§", "1112024Eva"})
        writeBytes(dir / old, "");
    for (const char* kept : {"07122025§Ana§", "712.tvl", "notas.txt"})
        writeBytes(dir / kept, "");
    writeBytes(dir / "01012025§Con nota§", "algo");
    EXPECT_EQ(start("2026-12-07")->waitForExit(5s), 0);
    for (const char* old : {"05122024§Ana§", "06122025§Ana§", "1112024Eva"})
        EXPECT_FALSE(std::filesystem::exists(dir / old)) << old;
    for (const char* kept : {"07122025§Ana§", "712.tvl", "notas.txt", "01012025§Con nota§"})
        EXPECT_TRUE(std::filesystem::exists(dir / kept)) << kept;
}

TEST_F(AviselaProcess, AClockSetBackCatchesUpNothingAndChangesNothing)
{
    const std::string content =
        fileOf({contact("Ana", "", "30", "07/12"), contact("Bea", "", "40", "08/12"),
                contact("Ciro", "", "50", "09/12")});
    writeBytes(dir / "data.tvl", content);
    remember("2026-12-10\n");
    writeBytes(dir / "05122024§Ana§", "");
    auto avisela = startWithWindows("2026-12-07");
    // The birthdays are announced: the windows stay.
    std::this_thread::sleep_for(1500ms);
    EXPECT_TRUE(avisela->running()) << output();
    EXPECT_EQ(contacts(), content);
    EXPECT_EQ(markers(), std::set<std::string>{"05122024§Ana§"});
    EXPECT_EQ(remembered(), "2026-12-10\n");
}

TEST_F(AviselaProcess, ADayThatMissedNothingChangesOnlyTheRememberedDay)
{
    const std::string content =
        fileOf({contact("Ana", "", "30", "04/12"), contact("Bea", "", "40", "09/12")});
    writeBytes(dir / "data.tvl", content);
    remember("2026-12-04\n");
    auto avisela = startWithWindows("2026-12-07");
    ASSERT_TRUE(eventually([&] { return remembered() == "2026-12-07\n"; }));
    EXPECT_TRUE(avisela->running()); // Bea in two days
    EXPECT_EQ(contacts(), content);
    EXPECT_EQ(markers(), std::set<std::string>{});
}

// A start without a display (the timer's, in a session that gave its user manager none) leaves
// everything to the next start that can show it.
TEST_F(AviselaProcess, WithoutADisplayABirthdayDayIsLeftForTheNextStart)
{
    const std::string content = fileOf({contact("Ana", "", "30", "05/12")});
    writeBytes(dir / "data.tvl", content);
    remember("2026-12-04\n");
    EXPECT_EQ(start("2026-12-07")->waitForExit(5s), 0);
    EXPECT_EQ(contacts(), content);
    EXPECT_EQ(remembered(), "2026-12-04\n");
}

// Killed at any moment of a catch-up, the next start counts every missed birthday exactly once.
TEST_F(AviselaProcess, KilledDuringTheCatchUpTheNextStartCountsEachBirthdayOnce)
{
    std::vector<std::string> before;
    std::vector<std::string> after;
    std::set<std::string> expectedMarkers;
    for (int i = 0; i < 20'000; ++i) {
        const std::string name = "Contacto " + std::to_string(i);
        const bool missed = i % 50 == 0;
        before.push_back(contact(name, "", std::to_string(i % 90), missed ? "05/12" : "15/06"));
        after.push_back(
            contact(name, "", std::to_string(i % 90 + (missed ? 1 : 0)), missed ? "5/12" : "15/6"));
        if (missed)
            expectedMarkers.insert("05122026§" + name + "§");
    }
    std::mt19937 random(17);
    std::uniform_int_distribution<int> moment(0, 400);
    int killedBeforeTheEnd = 0;
    for (int trial = 0; trial < 8; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        for (const std::string& name : files())
            if (name != "Avisela" && name != "libavisela_windows.so" && name != "Cumple.WAV")
                std::filesystem::remove(dir / name);
        writeBytes(dir / "data.tvl", fileOf(before));
        remember("2026-12-04\n");
        auto killed = startWithWindows("2026-12-07");
        std::this_thread::sleep_for(std::chrono::milliseconds(moment(random)));
        killed->kill(SIGKILL);
        const std::string left = contacts();
        EXPECT_TRUE(left == fileOf(before) || left == fileOf(after)) << "a mix of old and new";
        killedBeforeTheEnd += left == fileOf(before) ? 1 : 0;

        auto next = startWithWindows("2026-12-07");
        ASSERT_TRUE(eventually([&] { return remembered() == "2026-12-07\n"; }, 30s)) << output();
        EXPECT_EQ(contacts(), fileOf(after));
        EXPECT_EQ(markers(), expectedMarkers);
        EXPECT_FALSE(std::filesystem::exists(dir / "data.tvl.journal"));
        next->kill();
    }
    std::printf("%d of 8 kills came before the new content\n", killedBeforeTheEnd);
}

// Clicks on the real windows need an X server and xdotool.
class AviselaOnADisplay : public AviselaProcess {
protected:
    std::unique_ptr<PrivateDisplay> display;

    void SetUp() override
    {
        AviselaProcess::SetUp();
        if (IsSkipped())
            return;
        if (::access(XDOTOOL, X_OK) != 0)
            GTEST_SKIP() << "xdotool is not installed";
        display = std::make_unique<PrivateDisplay>();
        if (!display->available())
            GTEST_SKIP() << "no Xvfb";
    }

    std::unique_ptr<ChildProcess> startOnDisplay(const std::string& date)
    {
        return start(date, {"DISPLAY=" + display->name()});
    }

    // Runs xdotool on the private display; gives its output. A search that finds nothing
    // fails, which is an answer, not an error.
    enum class Outcome { MustSucceed, MayFail };
    std::string xdotool(const std::vector<std::string>& arguments,
                        Outcome outcome = Outcome::MustSucceed)
    {
        std::vector<std::string> command = {XDOTOOL};
        command.insert(command.end(), arguments.begin(), arguments.end());
        ChildProcess tool(command, {"DISPLAY=" + display->name()}, dir / "xdotool.out");
        const auto exitCode = tool.waitForExit(15s);
        if (outcome == Outcome::MustSucceed) {
            EXPECT_EQ(exitCode, 0) << output("xdotool.out");
        }
        return output("xdotool.out");
    }

    std::string windowNamed(const std::string& title)
    {
        std::string id = xdotool({"search", "--sync", "--onlyvisible", "--name", title});
        id = id.substr(0, id.find('\n'));
        return id;
    }

    // A click at a point given in twips inside the window, as the windows are drawn.
    void clickAt(const std::string& window, double leftTwips, double topTwips)
    {
        xdotool({"windowraise", window});
        xdotool({"mousemove", "--window", window, std::to_string(int(leftTwips / 15)),
                 std::to_string(int(topTwips / 15)), "click", "1"});
    }
};

TEST_F(AviselaOnADisplay, AbrirStartsTheManagerMinimizedAndEndsTheReminder)
{
    // A stand-in manager records how it was started.
    writeBytes(dir / "Agendela",
               "#!/bin/sh\n"
               "{ echo \"$#\"; echo \"${TORTAVELA_START_MINIMIZED-unset}\"; }"
               " > \"$(dirname \"$0\")/started.tmp\"\n"
               "mv \"$(dirname \"$0\")/started.tmp\" \"$(dirname \"$0\")/started\"\n");
    ::chmod((dir / "Agendela").c_str(), 0755);
    writeBytes(dir / "data.tvl",
               fileOf({contact("Ana", "", "30", "07/12"), contact("Bea", "", "40", "08/12")}));
    auto avisela = startOnDisplay("2026-12-07");
    const std::string cumple = windowNamed("FELIZ CUMPLE");
    ASSERT_FALSE(cumple.empty());
    const std::string faltan = windowNamed("FALTAN POCOS");
    ASSERT_FALSE(faltan.empty());

    // "Abrir Bases De Datos": the middle of the button.
    clickAt(cumple, 2520 + 2055 / 2, 3960 + 375 / 2);
    EXPECT_EQ(avisela->waitForExit(10s), 0) << output();
    ASSERT_TRUE(eventually([&] { return std::filesystem::exists(dir / "started"); }));
    EXPECT_EQ(readBytes(dir / "started"), "0\n1\n"); // no arguments, asked to start minimized
}

TEST_F(AviselaOnADisplay, ClosingOneWindowLeavesTheOtherAndTheLastEndsTheProgram)
{
    writeBytes(dir / "data.tvl",
               fileOf({contact("Ana", "", "30", "07/12"), contact("Bea", "", "40", "10/12")}));
    auto avisela = startOnDisplay("2026-12-07");
    const std::string cumple = windowNamed("FELIZ CUMPLE");
    const std::string faltan = windowNamed("FALTAN POCOS");
    ASSERT_FALSE(cumple.empty());
    ASSERT_FALSE(faltan.empty());

    clickAt(cumple, 4800 + 2055 / 2, 3960 + 375 / 2); // "Salir"
    ASSERT_TRUE(eventually([&] {
        return !contains(
            xdotool({"search", "--onlyvisible", "--name", "FELIZ CUMPLE"}, Outcome::MayFail),
            cumple);
    }));
    EXPECT_TRUE(avisela->running());

    clickAt(faltan, 3360 + 2775 / 2, 2880 + 375 / 2); // "Salir"
    EXPECT_EQ(avisela->waitForExit(10s), 0) << output();
}

} // namespace
