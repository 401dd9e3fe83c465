// The age update killed at any moment: after the next start that day, every contact due today,
// and every contact whose birthday the catch-up counts, is one year older exactly once, and the
// contact file is always the whole old or the whole new.
#include "contacts/Lines.h"
#include "contacts/Record.h"
#include "reminder/core/AgeUpdate.h"
#include "tests/support/FileText.h"
#include "tests/support/TempDir.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <unordered_map>

using namespace reminder;
using namespace std::chrono;

namespace {

const Date kDec7 = 2026y / December / 7d;
// The reminder last ran on Friday: the birthdays of the weekend are caught up on Monday.
const Date kDec4 = 2026y / December / 4d;

// `count` contacts; every `dueEvery`-th has its birthday today, every `missedEvery`-th of the
// others on Saturday, and its age is its number.
struct Contacts {
    std::string before;
    std::string after; // once every due age has grown by one
    std::vector<std::string> dueNames;
    std::vector<std::string> missedNames;
};

Contacts makeContacts(int count, int dueEvery, int missedEvery = 0)
{
    Contacts made;
    std::vector<std::string> before;
    std::vector<std::string> after;
    for (int i = 0; i < count; ++i) {
        const std::string name = "Contacto " + std::to_string(i);
        const bool due = i % dueEvery == 0;
        const bool missed = !due && missedEvery > 0 && i % missedEvery == 1;
        const std::string age = std::to_string(i % 90);
        const std::string birthday = due ? "07/12" : missed ? "05/12" : "15/06";
        before.push_back(recordLine({name, "", age, birthday, "600", "Calle", "", "nota"}));
        after.push_back(recordLine({name, "", due || missed ? std::to_string(i % 90 + 1) : age,
                                    due      ? "7/12"
                                    : missed ? "5/12"
                                             : "15/6",
                                    "600", "Calle", "", "nota"}));
        if (due)
            made.dueNames.push_back(name);
        if (missed)
            made.missedNames.push_back(name);
    }
    made.before = fileOf(before);
    made.after = fileOf(after);
    return made;
}

// One start's update: today's names and the catch-up since Friday.
void update(const TempDir& dir, const Contacts& contacts, const contacts::RewriteHooks& hooks = {})
{
    updateAges(dir.path(), kDec7, contacts.dueNames, kDec4, hooks);
}

// Runs the update in a child process and gives its pid; `hooks` may end it on the spot.
pid_t updateInChild(const TempDir& dir, const Contacts& contacts,
                    const contacts::RewriteHooks& hooks = {})
{
    const pid_t child = ::fork();
    if (child == 0) {
        update(dir, contacts, hooks);
        ::_exit(0);
    }
    return child;
}

// What a kill left, and what the next start made of it.
struct Tally {
    int oldFiles = 0;
    int newFiles = 0;
    int otherFiles = 0;
    int lost = 0;    // due ages that did not grow
    int doubled = 0; // due ages that grew by two or more
    int leftovers = 0;

    void count(const TempDir& dir, const Contacts& contacts, const std::string& afterKill)
    {
        if (afterKill == contacts.before)
            ++oldFiles;
        else if (afterKill == contacts.after)
            ++newFiles;
        else
            ++otherFiles;

        // The next start that day.
        update(dir, contacts);
        std::unordered_map<std::string_view, int> ages;
        const std::string rerun = readBytes(dir / "data.tvl");
        for (std::string_view line : contacts::splitLines(rerun)) {
            if (const auto fields = contacts::splitFields(line))
                ages[(*fields)[contacts::ContactField::Name]] =
                    std::stoi(std::string((*fields)[contacts::ContactField::Age]));
        }
        for (const auto* names : {&contacts.dueNames, &contacts.missedNames}) {
            for (const std::string& name : *names) {
                const int before = std::stoi(name.substr(name.find(' ') + 1)) % 90;
                lost += ages[name] <= before;
                doubled += ages[name] > before + 1;
            }
        }
        leftovers += std::filesystem::exists(dir / "data.tvl.journal") ||
                     std::filesystem::exists(dir / "data2.tvl");
    }
};

constexpr contacts::RewriteStep kAllSteps[] = {
    contacts::RewriteStep::Locked,          contacts::RewriteStep::Read,
    contacts::RewriteStep::TempCreated,     contacts::RewriteStep::TempWritten,
    contacts::RewriteStep::TempSynced,      contacts::RewriteStep::JournalWritten,
    contacts::RewriteStep::MarkerMade,      contacts::RewriteStep::Replaced,
    contacts::RewriteStep::DirectorySynced, contacts::RewriteStep::JournalRemoved,
};

class AgeUpdateKillAtEveryStep : public testing::TestWithParam<bool> {};

TEST_P(AgeUpdateKillAtEveryStep, TheNextStartAdvancesEachDueAgeOnce)
{
    const bool catchUp = GetParam();
    const Contacts contacts = makeContacts(30, 10, catchUp ? 7 : 0);
    ASSERT_EQ(contacts.dueNames.size(), 3u);
    ASSERT_EQ(contacts.missedNames.size(), catchUp ? 5u : 0u);
    Tally tally;
    int kills = 0;
    for (contacts::RewriteStep dying : kAllSteps) {
        // Markers are made one by one: die after each of them.
        const int occurrences =
            dying == contacts::RewriteStep::MarkerMade
                ? static_cast<int>(contacts.dueNames.size() + contacts.missedNames.size())
                : 1;
        for (int occurrence = 1; occurrence <= occurrences; ++occurrence) {
            SCOPED_TRACE("step " + std::to_string(static_cast<int>(dying)) + ", occurrence " +
                         std::to_string(occurrence));
            TempDir dir;
            writeBytes(dir / "data.tvl", contacts.before);
            int seen = 0;
            contacts::RewriteHooks hooks;
            hooks.atStep = [&](contacts::RewriteStep step) {
                if (step == dying && ++seen == occurrence)
                    ::_exit(0); // dies on the spot: no clean-up, no destructors
                return true;
            };
            const pid_t child = updateInChild(dir, contacts, hooks);
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
            ++kills;
            const int lostBefore = tally.lost;
            const int doubledBefore = tally.doubled;
            tally.count(dir, contacts, readBytes(dir / "data.tvl"));
            EXPECT_EQ(tally.lost, lostBefore);
            EXPECT_EQ(tally.doubled, doubledBefore);
            EXPECT_EQ(readBytes(dir / "data.tvl"), contacts.after);
        }
    }
    // Killed before the rename the file is old, after it new; never anything else.
    EXPECT_EQ(tally.otherFiles, 0);
    EXPECT_EQ(tally.oldFiles + tally.newFiles, kills);
    EXPECT_GT(tally.oldFiles, 0);
    EXPECT_GT(tally.newFiles, 0);
    EXPECT_EQ(tally.leftovers, 0);
}

INSTANTIATE_TEST_SUITE_P(AgeUpdateKill, AgeUpdateKillAtEveryStep, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "TodayAndTheCatchUp" : "Today");
                         });

// Kills at random moments of a whole update. TORTAVELA_KILL_SWEEP="TRIALS CONTACTS" runs a
// longer sweep than the default.
TEST(AgeUpdateKill, AtRandomMomentsNoAgeIsLostOrDoubled)
{
    int trials = 60;
    int count = 20'000;
    if (const char* sweep = std::getenv("TORTAVELA_KILL_SWEEP"))
        std::sscanf(sweep, "%d %d", &trials, &count);
    // Today's birthdays and, as many again, the weekend's.
    const Contacts contacts = makeContacts(count, 250, 249);

    // How long a whole update takes here (the slowest of three): the kills fall anywhere in it
    // and a little after.
    steady_clock::duration whole{};
    for (int run = 0; run < 3; ++run) {
        TempDir dir;
        writeBytes(dir / "data.tvl", contacts.before);
        const auto started = steady_clock::now();
        int status = 0;
        ::waitpid(updateInChild(dir, contacts), &status, 0);
        whole = std::max(whole, steady_clock::now() - started);
        ASSERT_EQ(readBytes(dir / "data.tvl"), contacts.after);
    }
    whole += whole / 4;

    std::mt19937 random(9);
    std::uniform_int_distribution<long long> moment(0, duration_cast<microseconds>(whole).count());
    Tally tally;
    for (int trial = 0; trial < trials; ++trial) {
        TempDir dir;
        writeBytes(dir / "data.tvl", contacts.before);
        const pid_t child = updateInChild(dir, contacts);
        std::this_thread::sleep_for(microseconds(moment(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        tally.count(dir, contacts, readBytes(dir / "data.tvl"));
    }
    ASSERT_FALSE(contacts.missedNames.empty());
    std::printf("%d kills in a %lld ms update of %d contacts: %d old, %d new, %d other files; "
                "%d lost, %d doubled advances after the next start\n",
                trials, static_cast<long long>(duration_cast<milliseconds>(whole).count()), count,
                tally.oldFiles, tally.newFiles, tally.otherFiles, tally.lost, tally.doubled);
    EXPECT_EQ(tally.otherFiles, 0);
    EXPECT_EQ(tally.lost, 0);
    EXPECT_EQ(tally.doubled, 0);
    EXPECT_EQ(tally.leftovers, 0);
}

} // namespace
